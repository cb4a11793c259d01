#pragma once

#include <QGroupBox>
#include <QRadioButton>
#include <QWidget>

// Containers and buttons that forward pointer moves once mouse tracking is
// switched on for them, and keep the move from reaching their parent.

// A framed group. Children are placed from the frame's outer corner.
class Group : public QGroupBox {
    Q_OBJECT

public:
    Group(const QString& caption, QWidget* parent);

signals:
    void MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    // A flat etched frame with the caption standing on its top line.
    void paintEvent(QPaintEvent* event) override;
};

class OptionButton : public QRadioButton {
    Q_OBJECT

public:
    OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {}

signals:
    void MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

// The bare client area of a window.
class Surface : public QWidget {
    Q_OBJECT

public:
    explicit Surface(QWidget* parent) : QWidget(parent) {}

signals:
    void MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

// Tooltips over areas of a widget that no child answers for: the lamps and
// their columns take no input, so their tips belong to the group beneath.
class AreaTips : public QObject {
public:
    // Installs itself on `host` as an event filter; owned by it.
    explicit AreaTips(QWidget* host);
    // `area` in the host's coordinates.
    void Add(const QRect& area, const QString& tip);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QPair<QRect, QString>> m_tips;
};
