#include "ui/SwitchAccessible.h"

#include "core/WindowDescription.h"
#include "ui/Switch.h"
#include "ui/Translation.h"

SwitchAccessible::SwitchAccessible(Switch* sw) : QAccessibleWidget(sw, QAccessible::Slider) {}

Switch* SwitchAccessible::sw() const { return static_cast<Switch*>(widget()); }

void* SwitchAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QVariant SwitchAccessible::currentValue() const { return sw()->Value(); }

void SwitchAccessible::setCurrentValue(const QVariant& value) { sw()->SetValue(value.toInt()); }


QString SwitchAccessible::text(QAccessible::Text t) const {
    const bitwell::ControlSpec* spec = bitwell::FindControl(sw()->objectName().toStdString());
    if (spec && spec->activeLow && (t == QAccessible::Value || t == QAccessible::Description)) {
        const QString words = Translated(sw()->Value() ? bitwell::kLevelHigh : bitwell::kLevelLow);
        if (t == QAccessible::Value) return words;
        const QString description = QAccessibleWidget::text(t);
        return description.isEmpty() ? words : description + QLatin1Char(' ') + words;
    }
    return QAccessibleWidget::text(t);
}
