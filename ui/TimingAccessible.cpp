#include "ui/TimingAccessible.h"

#include "core/Timing.h"
#include "ui/TimingDiagram.h"

namespace {

// The core's step columns, the table's.
const int kColumnCount = static_cast<int>(bitwell::TraceColumns().size());

// One cell: a step's field, read from the trace when asked.
class StepCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    StepCell(const TimingTableAccessible* table, int row, int column)
        : m_diagram(table->diagram()), m_row(row), m_column(column) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }
    bool isValid() const override { return m_diagram && table() && m_row < tableOf()->rowCount(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return table(); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        if (t == QAccessible::Name || t == QAccessible::Value) return tableOf()->field(m_row, m_column);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        // The step's column of the diagram while it is in view.
        const TimingDiagram* d = m_diagram;
        if (!d || m_row < d->FirstStep() || m_row >= d->FirstStep() + d->VisibleSteps()) return {};
        const QPoint at = d->mapToGlobal(QPoint(bitwell::kNamesWidth + (m_row - d->FirstStep()) * d->Zoom(), 0));
        return QRect(at, QSize(d->Zoom(), d->height()));
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.selectable = true;
        s.selected = isSelected();
        s.invisible = rect().isEmpty();
        return s;
    }

    bool isSelected() const override { return isValid() && tableOf()->isRowSelected(m_row); }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override {
        return m_diagram ? QAccessible::queryAccessibleInterface(m_diagram.data()) : nullptr;
    }

private:
    const TimingTableAccessible* tableOf() const { return static_cast<const TimingTableAccessible*>(table()); }

    QPointer<TimingDiagram> m_diagram;
    int m_row;
    int m_column;
};

QAccessibleInterface* Create(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    auto* w = static_cast<QWidget*>(object);
    // The two non-modal windows beside the main one read as windows.
    if (className == QLatin1String("frmTiming") || className == QLatin1String("frmExercise"))
        return new QAccessibleWidget(w, QAccessible::Window);
    if (className == QLatin1String("TimingDiagram")) return new TimingTableAccessible(static_cast<TimingDiagram*>(w));
    return nullptr;
}

}  // namespace

void InstallTimingAccessibles() {
    static const bool installed = [] {
        QAccessible::installFactory(&Create);
        return true;
    }();
    Q_UNUSED(installed);
}

TimingTableAccessible::TimingTableAccessible(TimingDiagram* diagram)
    : QAccessibleWidget(diagram, QAccessible::Table) {}

TimingTableAccessible::~TimingTableAccessible() {
    for (const QAccessible::Id id : std::as_const(m_cells)) QAccessible::deleteAccessibleInterface(id);
}

void* TimingTableAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

TimingDiagram* TimingTableAccessible::diagram() const { return static_cast<TimingDiagram*>(widget()); }

int TimingTableAccessible::rowCount() const { return static_cast<int>(diagram()->Trace().size()); }
int TimingTableAccessible::columnCount() const { return kColumnCount; }
int TimingTableAccessible::childCount() const { return rowCount() * kColumnCount; }

QAccessibleInterface* TimingTableAccessible::child(int index) const {
    return index < 0 ? nullptr : cellAt(index / kColumnCount, index % kColumnCount);
}

int TimingTableAccessible::indexOfChild(const QAccessibleInterface* child) const {
    auto* cell = child ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
    return cell ? cell->rowIndex() * kColumnCount + cell->columnIndex() : -1;
}

QAccessibleInterface* TimingTableAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumnCount) return nullptr;
    const qint64 key = static_cast<qint64>(row) * kColumnCount + column;
    if (const auto found = m_cells.constFind(key); found != m_cells.constEnd())
        return QAccessible::accessibleInterface(*found);
    auto* cell = new StepCell(this, row, column);
    m_cells.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QAccessibleInterface* TimingTableAccessible::focusChild() const {
    const int row = diagram()->Selected();
    return row >= 0 ? cellAt(row, 0) : nullptr;
}

QString TimingTableAccessible::columnDescription(int column) const {
    if (column < 0 || column >= kColumnCount) return {};
    return QString::fromStdString(bitwell::TraceColumnHeader(bitwell::TraceColumns()[static_cast<std::size_t>(column)]));
}

QString TimingTableAccessible::rowDescription(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    return QString::fromStdString(bitwell::Trace::Describe(diagram()->Trace()[static_cast<std::size_t>(row)]));
}

QString TimingTableAccessible::field(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumnCount) return {};
    const bitwell::TraceColumn& c = bitwell::TraceColumns()[static_cast<std::size_t>(column)];
    return QString::fromStdString(c.field(diagram()->Trace()[static_cast<std::size_t>(row)]));
}

int TimingTableAccessible::selectedRowCount() const { return diagram()->Selected() >= 0 ? 1 : 0; }

QList<int> TimingTableAccessible::selectedRows() const {
    return diagram()->Selected() >= 0 ? QList<int>{diagram()->Selected()} : QList<int>{};
}

QList<QAccessibleInterface*> TimingTableAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    for (const int row : selectedRows())
        for (int c = 0; c < kColumnCount; ++c) cells << cellAt(row, c);
    return cells;
}

bool TimingTableAccessible::isRowSelected(int row) const { return row >= 0 && row == diagram()->Selected(); }

bool TimingTableAccessible::selectRow(int row) {
    if (row < 0 || row >= rowCount()) return false;
    diagram()->Select(row);
    return true;
}
