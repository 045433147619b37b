#include "automation/UIAutomationServer.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace vexora {

namespace {

// Several controls may share an identifier (one of them shown at a time): the shown one wins.
QWidget* findWidget(const QString& identifier) {
    QWidget* fallback = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        QList<QWidget*> candidates = top->findChildren<QWidget*>(identifier);
        if (top->objectName() == identifier) candidates.prepend(top);
        for (QWidget* widget : candidates) {
            if (widget->isVisible()) return widget;
            if (!fallback) fallback = widget;
        }
    }
    return fallback;
}

QAction* findAction(const QString& identifier) {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* action = top->findChild<QAction*>(identifier)) return action;
    return nullptr;
}

QString textOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* line = qobject_cast<QLineEdit*>(widget)) return line->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) return plain->toPlainText();
    if (auto* rich = qobject_cast<QTextEdit*>(widget)) return rich->toPlainText();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText();
    return widget->accessibleName();
}

Json stateOf(const QString& identifier) {
    if (QWidget* widget = findWidget(identifier)) {
        auto* button = qobject_cast<QAbstractButton*>(widget);
        Json state = {{"found", true},
                      {"shown", widget->isVisible()},
                      {"enabled", widget->isEnabled()},
                      {"checked", button && button->isChecked()},
                      {"text", textOf(widget)},
                      {"value", widget->property("accessibleValue").toString()}};
        // Controls that show a remote picture tell whether it has arrived.
        if (const QVariant image = widget->property("hasImage"); image.isValid()) state["hasImage"] = image.toBool();
        return state;
    }
    if (QAction* action = findAction(identifier))
        return {{"found", true}, {"shown", action->isVisible()}, {"enabled", action->isEnabled()},
                {"checked", action->isChecked()}, {"text", action->text()}, {"value", ""}};
    return {{"found", false}};
}

Json failure(const std::string& reason) { return {{"ok", false}, {"error", reason}}; }

void pressKey(QWidget* target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QCoreApplication::sendEvent(target, &release);
}

Json click(const QString& identifier) {
    if (QWidget* widget = findWidget(identifier)) {
        if (!widget->isVisible() || !widget->isEnabled()) return failure("not shown or not enabled");
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->click();
            return {{"ok", true}};
        }
        // Custom controls (tiles, rows) react to the mouse like any other widget.
        const QPointF centre = QRectF(widget->rect()).center();
        QMouseEvent press(QEvent::MouseButtonPress, centre, widget->mapToGlobal(centre), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, centre, widget->mapToGlobal(centre), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &press);
        QCoreApplication::sendEvent(widget, &release);
        return {{"ok", true}};
    }
    if (QAction* action = findAction(identifier)) {
        if (!action->isEnabled()) return failure("not enabled");
        action->trigger();
        return {{"ok", true}};
    }
    return failure("no control " + identifier.toStdString());
}

Json type(const QString& identifier, const QString& text) {
    QWidget* widget = findWidget(identifier);
    if (!widget || !widget->isVisible()) return failure("no shown control " + identifier.toStdString());
    widget->setFocus(Qt::OtherFocusReason);
    for (const QChar character : text) {
        if (character == u'\n') pressKey(widget, Qt::Key_Return, QStringLiteral("\r"));
        else pressKey(widget, Qt::Key_unknown, QString(character));
    }
    return {{"ok", true}};
}

Json choose(const QString& identifier, int index) {
    auto* combo = qobject_cast<QComboBox*>(findWidget(identifier));
    if (!combo || index < 0 || index >= combo->count()) return failure("no such item");
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return {{"ok", true}};
}

Json list(const QString& prefix) {
    Json identifiers = Json::array();
    for (QWidget* top : QApplication::topLevelWidgets())
        for (QWidget* widget : top->findChildren<QWidget*>())
            if (widget->isVisible() && widget->objectName().startsWith(prefix)) identifiers.push_back(widget->objectName());
    return {{"ok", true}, {"ids", identifiers}};
}

}  // namespace

UIAutomationServer* UIAutomationServer::startFromEnvironment(QObject* parent) {
    const QString path = qEnvironmentVariable("VEXORA_DEBUG_AUTOMATION_SOCKET");
    if (path.isEmpty()) return nullptr;
    auto* automation = new UIAutomationServer(parent);
    // Only this user may drive the application.
    automation->server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(path);
    if (!automation->server_->listen(path)) {
        qWarning("UI automation could not listen on %s", qPrintable(path));
        delete automation;
        return nullptr;
    }
    return automation;
}

UIAutomationServer::UIAutomationServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) serve(socket);
    });
}

void UIAutomationServer::serve(QLocalSocket* socket) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        while (socket->canReadLine()) {
            const QByteArray line = socket->readLine();
            const Json request = Json::parse(line.toStdString(), nullptr, false);
            Json answer;
            try {
                answer = request.is_object() ? handle(request) : failure("not a JSON object");
            } catch (const Json::exception& error) {
                answer = failure(error.what());
            }
            socket->write(encodeJson(answer) + '\n');
            socket->flush();
        }
    });
}

Json UIAutomationServer::handle(const Json& request) {
    const std::string op = request.value("op", std::string());
    const QString identifier = QString::fromStdString(request.value("id", std::string()));
    if (op == "state") return stateOf(identifier);
    if (op == "click") return click(identifier);
    if (op == "type") return type(identifier, QString::fromStdString(request.value("text", std::string())));
    if (op == "choose") return choose(identifier, request.value("index", -1));
    if (op == "list") return list(QString::fromStdString(request.value("prefix", std::string())));
    if (op == "quit") {
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return {{"ok", true}};
    }
    return failure("unknown op " + op);
}

}  // namespace vexora
