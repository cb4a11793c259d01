#include "ui/frmAbout.h"

#include <QPushButton>

#include "core/WindowDescription.h"
#include "ui/Caption.h"
#include "ui/Layout.h"
#include "ui/Translation.h"

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    const bitwell::WindowSpec& window = bitwell::AboutWindow();
    setObjectName(QLatin1String(window.name));
    setWindowTitle(Translated(window.title));
    // A parent makes it transient for the main window: no task-bar entry.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    setFont(DialogFont());
    setWindowIcon(AppIcon());
    // Unmoved, it opens centred over the main window.
    setFixedSize(Px(window.width), Px(window.height));

    for (const bitwell::ControlSpec& c : bitwell::AboutWindowControls()) {
        const QRect place = Twips(c.left, c.top, c.width, c.height);
        QString text = Translated(c.caption);
        // The notice names the version.
        if (text.contains(QLatin1String("%1"))) text = text.arg(QLatin1String(BITWELL_VERSION));
        if (c.kind == bitwell::ControlKind::Button) {
            auto* button = new QPushButton(text, this);
            button->setObjectName(QString::fromStdString(c.name));
            button->setGeometry(place);
            button->setDefault(true);
            button->setAutoDefault(true);
            button->setFocus();
            connect(button, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
            continue;
        }
        auto* label = new CaptionLabel(QString::fromStdString(c.name), text, place, this);
        if (c.face == bitwell::Face::Listing14) label->setFont(ListingFont(14.25));
        label->SetWordWrap(c.wrap);
    }
    // Esc reaches QDialog::reject(), which closes the window just as OK does.
}

void frmAbout::cmdOK_Click() { accept(); }
