#include "ui/frmAbout.h"

#include <QPushButton>

#include "ui/Caption.h"
#include "ui/Layout.h"

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Quorin Bitwell"));
    // A parent makes it transient for the main window: no task-bar entry.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    setFont(DialogFont());
    setWindowIcon(AppIcon());
    setGeometry(Px(2340), Px(1935), Px(6015), Px(2670));
    setFixedSize(Px(6015), Px(2670));

    auto* title = new CaptionLabel(QStringLiteral("Quorin Bitwell"), this);
    title->setObjectName(QStringLiteral("Label1"));
    title->setGeometry(Twips(1680, 240, 3015, 375));
    QFont titleFont = ListingFont(14.25);
    title->setFont(titleFont);

    auto* description = new CaptionLabel(
        QStringLiteral("This program is used to demonstrate the operation of a simple memory "
                       "device and the representation of various common data types in memory."),
        this);
    description->setObjectName(QStringLiteral("Label2"));
    description->setGeometry(Twips(240, 720, 5535, 615));
    description->setWordWrap(true);

    auto* notice = new CaptionLabel(
        QStringLiteral("Quorin Bitwell 1.0, made by the Bitwell developers for the classroom. "
                       "Free to use, copy and share."),
        this);
    notice->setObjectName(QStringLiteral("Label3"));
    notice->setGeometry(Twips(120, 1440, 5775, 495));
    notice->setWordWrap(true);

    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(Twips(2400, 2160, 1260, 345));
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    // Esc reaches QDialog::reject(), which closes the window just as OK does.
}

void frmAbout::cmdOK_Click() { accept(); }
