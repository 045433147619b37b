#pragma once

// Declares one observed field of a QObject: the property, its getter, a setter that stores and
// notifies only on a real change, the change signal and the member. `Hook` names a member
// function run after each real change (`noHook` for none). moc expands this macro itself.
#define UGC_OBSERVED(Type, name, Name, Hook)                                      \
    Q_PROPERTY(Type name READ name WRITE set##Name NOTIFY name##Changed)          \
public:                                                                           \
    const Type& name() const { return name##_; }                                  \
    void set##Name(const Type& value) {                                           \
        if (name##_ == value) return;                                             \
        name##_ = value;                                                          \
        emit name##Changed();                                                     \
        Hook();                                                                   \
    }                                                                             \
    Q_SIGNAL void name##Changed();                                                \
                                                                                  \
private:                                                                          \
    Type name##_{};
