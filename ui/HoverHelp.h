#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QRect>
#include <QString>
#include <functional>

class QWidget;

// One event filter for every hover-help target of a window. Each pointer
// move over a target shows its text through `show`, on every move and with
// no comparison, and the move goes no further up the window; a target is
// the widget itself, so its children keep their own. A control without
// hover text keeps its moves too, once Quieten() has run, even those made
// with a button held, which Qt would pass up to the target behind it. It
// also shows tooltips
// over areas of a widget that no child answers for (shapes take no input,
// so a lamp column's tip belongs to the group beneath it).
class HoverHelp : public QObject {
public:
    HoverHelp(std::function<void(const QString&)> show, QObject* parent);

    // Tracks the pointer over `target` from now on.
    void AddTarget(QWidget* target, const QString& text);
    // Every widget under `root` that is not a target and takes the mouse
    // keeps the pointer moves it receives, so a press and drag inside it
    // leaves the status line as it was. Call once every target is added;
    // widgets added later are not covered.
    void Quieten(QWidget* root);
    // `area` in `host`'s coordinates.
    void AddTip(QWidget* host, const QRect& area, const QString& tip);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString&)> m_show;
    QHash<const QObject*, QString> m_texts;
    QHash<const QObject*, QList<QPair<QRect, QString>>> m_tips;
};
