#pragma once

#include "foundation/Json.h"

#include <QObject>

class QLocalServer;
class QLocalSocket;

namespace vexora {

// Lets an end-to-end test drive the running application through its controls' identifiers, as
// an accessibility tool would: one JSON request a line on a local socket, one JSON answer a line.
// Built into QA builds only, and listening only when VEXORA_DEBUG_AUTOMATION_SOCKET names a path.
//
//   {"op":"state","id":ID}                 found, shown, enabled, checked, text, value; hasImage where the
//                                          control shows a remote picture
//   {"op":"click","id":ID}                 a button, a checkable control or an action
//   {"op":"type","id":ID,"text":T}         key presses into the focused control ("\n" presses Return)
//   {"op":"choose","id":ID,"index":N}      picks an item of a combo box as the user would
//   {"op":"list","prefix":P}               identifiers of the shown controls that start with P
//   {"op":"quit"}
class UIAutomationServer : public QObject {
    Q_OBJECT

public:
    // Starts listening when the environment asks for it; otherwise returns null.
    static UIAutomationServer* startFromEnvironment(QObject* parent);

    Json handle(const Json& request);

private:
    explicit UIAutomationServer(QObject* parent);
    void serve(QLocalSocket* socket);

    QLocalServer* server_ = nullptr;
};

}  // namespace vexora
