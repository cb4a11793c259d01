#pragma once

#include <QWidget>

// Static text whose Caption is kept exactly as set ("\r\n" included) and
// always shown as plain text, never guessed as markup. Setting a different
// Caption emits Change() before the setter returns; it is the only way to
// change the text. Double clicks and, once mouse tracking is on, pointer
// moves are forwarded as signals.
class CaptionLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption NOTIFY Change)

public:
    // Named and placed in its parent at once.
    CaptionLabel(const QString& name, const QString& caption, const QRect& geometry, QWidget* parent);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);

    // Keeps single-line text within `pixels` of the left edge, for a caption
    // whose right part another caption covers. Negative: the full width.
    void SetTextLimit(int pixels);
    // Breaks lines between words to fit the width, as a label does.
    void SetWordWrap(bool on);
    // The height the wrapped text needs at `width`.
    int heightForWidth(int width) const override;

signals:
    void Change();
    void DblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int wrapFlags() const;

    QString m_caption;
    QString m_shown;
    int m_textLimit = -1;
    bool m_wordWrap = false;
};
