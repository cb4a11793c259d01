#pragma once

#include <QDialog>

// The About window: a fixed 401 x 178 dialog whose client area stands at
// (156, 129) on the screen. OK, Enter and Esc close it. Create it for each
// showing and let it go when exec() returns.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent);

private:
    void cmdOK_Click();
};
