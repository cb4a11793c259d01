#pragma once

#include <QAccessibleWidget>

class Switch;

// Presents a Switch to assistive technology as a slider whose value is the
// switch position, 1 (up) or 0 (down), not the inverted scroll-bar position.
// The bar it draws is no child of its own: the switch is one control. A
// control switch also says its value in words ("HIGH, inactive", "LOW,
// active") as its value text and after its description.
class SwitchAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SwitchAccessible(Switch* sw);

    void* interface_cast(QAccessible::InterfaceType t) override;

    QString text(QAccessible::Text t) const override;
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override { return 1; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

private:
    Switch* sw() const;
};
