#pragma once

#include "workflow/UGCAvatarOptions.h"

#include <QFrame>
#include <functional>

class QComboBox;
class QLabel;

namespace vexora {

// One avatar trait: a menu of its options, or "Auto" while the automatic mode chooses it.
class UGCAvatarTraitMenu : public QFrame {
    Q_OBJECT

public:
    UGCAvatarTraitMenu(const QString& title, QList<AvatarTraitOption> options, std::function<void(const QString&)> select,
                       QWidget* parent = nullptr);
    void refresh(const QString& selection, bool isLocked);

private:
    QList<AvatarTraitOption> options_;
    std::function<void(const QString&)> select_;
    QComboBox* picker_;
    QWidget* locked_;
};

}  // namespace vexora
