#include "ui/frmAbout.h"

#include <QPushButton>

#include "ui/Caption.h"
#include "ui/Layout.h"

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About Quorin Bitwell"));
    // A parent makes it transient for the main window: no task-bar entry.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    setFont(DialogFont());
    setWindowIcon(AppIcon());
    setGeometry(Px(2340), Px(1935), Px(6015), Px(2670));
    setFixedSize(Px(6015), Px(2670));

    auto* title = new CaptionLabel(QStringLiteral("Label1"), tr("Quorin Bitwell"),
                                   Twips(1680, 240, 3015, 375), this);
    title->setFont(ListingFont(14.25));
    const auto wrapped = [this](const char* name, const QString& text, const QRect& geometry) {
        (new CaptionLabel(QLatin1String(name), text, geometry, this))->SetWordWrap(true);
    };
    wrapped("Label2",
            tr("This program is used to demonstrate the operation of a simple memory "
               "device and the representation of various common data types in memory."),
            Twips(240, 720, 5535, 615));
    wrapped("Label3",
            tr("Quorin Bitwell %1, made by the Bitwell developers for the classroom. "
               "Free to use, copy and share.")
                .arg(QLatin1String(BITWELL_VERSION)),
            Twips(120, 1440, 5775, 495));

    auto* cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(Twips(2400, 2160, 1260, 345));
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    // Esc reaches QDialog::reject(), which closes the window just as OK does.
}

void frmAbout::cmdOK_Click() { accept(); }
