#include "ui/Accessibles.h"

#include "core/WindowDescription.h"
#include "ui/Translation.h"

#include "ui/Caption.h"
#include "ui/Controls.h"
#include "ui/Shapes.h"
#include "ui/Switch.h"
#include "ui/SwitchAccessible.h"

namespace {

QAccessibleInterface* Create(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    auto* w = static_cast<QWidget*>(object);
    if (className == QLatin1String("Switch")) return new SwitchAccessible(static_cast<Switch*>(w));
    if (className == QLatin1String("CaptionLabel")) return new CaptionAccessible(w);
    if (className == QLatin1String("Group")) return new GroupAccessible(w);
    if (className == QLatin1String("Shape") && static_cast<Shape*>(w)->IsLamp())
        return new LampAccessible(w);
    if (className == QLatin1String("QWidget") && w->objectName() == QLatin1String("lblAnnounce"))
        return new AnnouncementAccessible(w);
    return nullptr;
}

// Rectangles and lines that only draw the panel, with nothing to say.
bool IsDecoration(const QWidget* w) {
    if (qobject_cast<const Line*>(w)) return true;
    const auto* shape = qobject_cast<const Shape*>(w);
    return shape && !shape->IsLamp();
}

}  // namespace

void InstallAccessibles() {
    static const bool installed = [] {
        QAccessible::installFactory(&Create);
        return true;
    }();
    Q_UNUSED(installed);
}

// ---- Captions ----

CaptionAccessible::CaptionAccessible(QWidget* caption)
    : QAccessibleWidget(caption, QAccessible::StaticText) {}

void* CaptionAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QString CaptionAccessible::shown() const {
    QString text = static_cast<CaptionLabel*>(widget())->Caption();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

QString CaptionAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return shown();
    return QAccessibleWidget::text(t);
}

QString CaptionAccessible::text(int startOffset, int endOffset) const {
    return shown().mid(startOffset, endOffset - startOffset);
}

int CaptionAccessible::characterCount() const { return static_cast<int>(shown().size()); }

// ---- Lamps ----

LampAccessible::LampAccessible(QWidget* lamp) : QAccessibleWidget(lamp, QAccessible::CheckBox) {}

void* LampAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ActionInterface || t == QAccessible::ValueInterface) return nullptr;
    return QAccessibleWidget::interface_cast(t);
}

bool LampAccessible::lit() const { return !widget()->isHidden(); }

QAccessible::State LampAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    // The bit is there, lit or dark: only the lamp's light is hidden.
    s.invisible = !widget()->parentWidget()->isVisible();
    s.offscreen = s.invisible;
    s.readOnly = true;
    s.checkable = true;
    s.checked = lit();
    s.focusable = false;
    return s;
}

QString LampAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Description)
        return Translated(lit() ? bitwell::kLampLit : bitwell::kLampDark);
    return QAccessibleWidget::text(t);
}

// ---- Announcements ----

AnnouncementAccessible::AnnouncementAccessible(QWidget* announcer)
    : QAccessibleWidget(announcer, QAccessible::Notification) {}

QAccessible::State AnnouncementAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.focusable = false;
    return s;
}

QString AnnouncementAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) return widget()->accessibleName();
    if (t == QAccessible::Description || t == QAccessible::Value) return {};
    return QAccessibleWidget::text(t);
}

// ---- Groups ----

GroupAccessible::GroupAccessible(QWidget* group) : QAccessibleWidget(group, QAccessible::Grouping) {}

QString GroupAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return static_cast<Group*>(widget())->title();
    return QAccessibleWidget::text(t);
}

QList<QWidget*> GroupAccessible::children() const {
    QList<QWidget*> out;
    for (QObject* o : widget()->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && !w->isWindow() && !IsDecoration(w)) out << w;
    }
    return out;
}

int GroupAccessible::childCount() const { return static_cast<int>(children().size()); }

QAccessibleInterface* GroupAccessible::child(int index) const {
    const QList<QWidget*> list = children();
    if (index < 0 || index >= list.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(list.at(index));
}

int GroupAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!child || !child->object()) return -1;
    return static_cast<int>(children().indexOf(qobject_cast<QWidget*>(child->object())));
}
