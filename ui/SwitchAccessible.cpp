#include "ui/SwitchAccessible.h"

#include "ui/Switch.h"

SwitchAccessible::SwitchAccessible(Switch* sw) : QAccessibleWidget(sw, QAccessible::Slider) {}

Switch* SwitchAccessible::sw() const { return static_cast<Switch*>(widget()); }

void* SwitchAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QVariant SwitchAccessible::currentValue() const { return sw()->Value(); }

void SwitchAccessible::setCurrentValue(const QVariant& value) { sw()->SetValue(value.toInt()); }

