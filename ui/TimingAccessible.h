#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

class TimingDiagram;

// What assistive technology is shown of the timing window: the window as a
// window, and the diagram as a table of the kept steps, one row per step
// (its description as the row's name), the core's step columns, the
// selected step as the selected row. Cells are made only when asked for
// and live as long as the table's interface.

// Installs the factory for frmTiming, frmExercise and TimingDiagram; idempotent.
void InstallTimingAccessibles();

class TimingTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit TimingTableAccessible(TimingDiagram* diagram);
    ~TimingTableAccessible() override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    TimingDiagram* diagram() const;
    // Field `column` of step `row` (as its CSV line has it); empty out of range.
    QString field(int row, int column) const;

private:
    mutable QHash<qint64, QAccessible::Id> m_cells;
};
