#pragma once

#include <QAccessibleWidget>

// What assistive technology is shown of the panel beyond Qt's defaults.

// Installs the factory for every kind below and for Switch; idempotent.
void InstallAccessibles();

// A caption: its short name as the label (the accessible name, or the
// caption itself), and its whole text, listings and status line included,
// readable through the text interface.
class CaptionAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit CaptionAccessible(QWidget* caption);
    void* interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;

    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        return {};
    }

private:
    QString shown() const;
};

// A read lamp is the read bit: it stays in the tree while the lamp is dark
// and reads as a read-only check box, checked while lit, whose description
// says "lit, 1" or "dark, 0". No value interface and no actions: toolkits
// offer Increase and Decrease on anything with a value, and the student
// cannot change a read bit.
class LampAccessible : public QAccessibleWidget {
public:
    explicit LampAccessible(QWidget* lamp);
    void* interface_cast(QAccessible::InterfaceType t) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override { return {}; }

private:
    bool lit() const;
};

// The hidden object that speaks what each action did: a notification whose
// name is the sentence. Assistive technology hears it when it is shown.
class AnnouncementAccessible : public QAccessibleWidget {
public:
    explicit AnnouncementAccessible(QWidget* announcer);
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override { return {}; }
};

// A framed group whose decorative rectangles and lines stay out of the tree.
class GroupAccessible : public QAccessibleWidget {
public:
    explicit GroupAccessible(QWidget* group);
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    QList<QWidget*> children() const;
};
