#pragma once

#include "panel/UGCPanelView.h"
#include "workflow/WorkflowFixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

namespace vexora::test {

// The whole panel, offscreen, over a workflow state wired to the devserver. Controls are found
// by their identifiers, as accessibility tools find them.
class PanelFixture : public WorkflowFixture {
protected:
    std::vector<QString> copied;
    std::unique_ptr<UGCPanelView> panel;

    void SetUp() override {
        WorkflowFixture::SetUp();
        if (IsSkipped()) return;
        UGCPanelContext context{*state, nullptr, [this](const QString& text) { copied.push_back(text); }};
        panel = std::make_unique<UGCPanelView>(std::move(context));
        panel->resize(480, 820);
        panel->show();
    }

    void TearDown() override {
        panel.reset();
        WorkflowFixture::TearDown();
    }

    // Both result cards hold an error callout under the same identifiers: the one in sight counts.
    template <class Widget = QWidget>
    Widget* find(const QString& identifier) {
        const QList<Widget*> found = panel->findChildren<Widget*>(identifier);
        for (Widget* widget : found)
            if (widget->isVisibleTo(panel.get())) return widget;
        return found.value(0);
    }

    // Present and shown on the panel (its own and its parents' visibility).
    bool shown(const QString& identifier) {
        QWidget* widget = find(identifier);
        return widget && widget->isVisibleTo(panel.get());
    }

    QString text(const QString& identifier) {
        if (auto* button = find<QAbstractButton>(identifier)) return button->text();
        if (auto* label = find<QLabel>(identifier)) return label->text();
        ADD_FAILURE() << "no text control " << identifier.toStdString();
        return {};
    }

    bool enabled(const QString& identifier) {
        QWidget* widget = find(identifier);
        EXPECT_NE(widget, nullptr) << identifier.toStdString();
        return widget && widget->isEnabled();
    }

    // As a user clicks: only a button in sight and enabled.
    void click(const QString& identifier) {
        auto* button = find<QAbstractButton>(identifier);
        ASSERT_NE(button, nullptr) << identifier.toStdString();
        ASSERT_TRUE(button->isVisibleTo(panel.get()) && button->isEnabled()) << identifier.toStdString();
        button->click();
    }

    InstantClock& clock() { return static_cast<InstantClock&>(state->clock()); }
};

}  // namespace vexora::test
