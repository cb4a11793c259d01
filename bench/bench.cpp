// Benchmarks: one device evaluation on the plain record, the heaviest
// interaction on the real window, and start-up to first paint against a
// bare window of the same plain widgets (the floor). Ends with one summary
// line of medians.

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollBar>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Attempt.h"
#include "core/CourseExport.h"
#include "core/Exercise.h"
#include "core/Panel.h"
#include "ui/Caption.h"
#include "ui/frmMain.h"
#include "ui/frmTiming.h"

namespace {

// A read cycle of both bytes held open, at address 4 (or above it, from an
// address already set).
void ReadBothBytesAtAddress4(bitwell::Panel& panel) {
    for (const bitwell::Control c : {bitwell::Control::CE, bitwell::Control::OE, bitwell::Control::LB,
                                     bitwell::Control::UB})
        panel.MoveLevel(c, 0);
    panel.MoveAddressBit(2, 1);
}

// One evaluation with both listings and the trace recording: a full read
// at address 4, run again by a click on the word order already chosen.
void BM_UpdateMemory(benchmark::State& state) {
    bitwell::Panel panel;
    panel.Form_Load();
    ReadBothBytesAtAddress4(panel);
    for (auto _ : state) {
        panel.ChooseOrder(true);
        benchmark::DoNotOptimize(panel.typesText().data());
    }
}
BENCHMARK(BM_UpdateMemory)->Repetitions(15)->ReportAggregatesOnly(true);

// An exercise of 50 goals, every kind, none of them holding at the start.
std::string FiftyGoals() {
    std::string file = "title: Fifty goals\ntext: Every kind of goal.\nhint: One.\n"
                       "given memory 0-F = 1234\ngiven order = little\ngiven address = 3\n";
    static const char* const kGoals[] = {
        "memory 0-F = BEEF", "memory 7 unchanged", "read = 12??", "address = 9", "order = big",
        "types Float = -0", "count write at 2-5 bytes upper >= 3", "count read <= 999",
        "actions = 12", "types Integer (signed) = -2"};
    for (int i = 0; i < 50; ++i) file += std::string("goal ") + kGoals[i % 10] + "\n";
    return file;
}

// 50 goals again, 10 of them `never` and 10 `then`, none of them met by
// the read below: each evaluation tries every `never` and the next `then`.
std::string FiftyWithOrderAndRules() {
    std::string file = FiftyGoals();
    file.erase(file.find("goal "));  // the givens alone
    static const char* const kMore[] = {
        "never address changes and WE = 0 and CE = 0", "never OE = 0 and WE = 0 and CE = 0", "never write at 0-8",
        "never data changes and WE = 0", "never read at F", "then read at 4 = 12C4", "then write at 4 = 13C4",
        "then write bytes upper", "then read at 0-3 bytes lower = ??00", "then write = ????"};
    static const char* const kGoals[] = {
        "memory 0-F = BEEF", "memory 7 unchanged", "read = 12??", "address = 9", "order = big",
        "types Float = -0", "count write at 2-5 bytes upper >= 3", "count read <= 999",
        "actions = 12", "types at 2 Integer (signed) = -2"};
    for (int i = 0; i < 30; ++i) file += std::string("goal ") + kGoals[i % 10] + "\n";
    for (int i = 0; i < 20; ++i) file += std::string("goal ") + kMore[i % 10] + "\n";
    return file;
}

// One evaluation with both listings, the trace and the check of 50 goals:
// the same read as BM_UpdateMemory, with an exercise open.
void ExerciseEval(benchmark::State& state, const std::string& file) {
    bitwell::Panel panel;
    panel.Form_Load();
    bitwell::ExerciseSession session(panel);
    std::vector<bitwell::ExerciseError> problems;
    if (!session.Open(file, "fifty.bwx", problems)) state.SkipWithError(problems.front().Text().c_str());
    ReadBothBytesAtAddress4(panel);
    for (auto _ : state) {
        panel.ChooseOrder(true);
        benchmark::DoNotOptimize(session.holds(0));
    }
}
void BM_ExerciseEval(benchmark::State& state) { ExerciseEval(state, FiftyWithOrderAndRules()); }
BENCHMARK(BM_ExerciseEval)->Repetitions(15)->ReportAggregatesOnly(true);
// The same with the 50 goals of the kinds that read the state after an action only.
void BM_ExerciseEvalAfterActions(benchmark::State& state) { ExerciseEval(state, FiftyGoals()); }
BENCHMARK(BM_ExerciseEvalAfterActions)->Repetitions(15)->ReportAggregatesOnly(true);

// Opening that exercise as a front end does: parsing, the checker (with its
// own start), power-up afresh, the givens and the first check.
void BM_ExerciseOpen(benchmark::State& state) {
    bitwell::Panel panel;
    panel.Form_Load();
    bitwell::ExerciseSession session(panel);
    const std::string file = FiftyWithOrderAndRules();
    std::vector<bitwell::ExerciseError> problems;
    for (auto _ : state) benchmark::DoNotOptimize(session.Open(file, "fifty.bwx", problems));
}
BENCHMARK(BM_ExerciseOpen)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// A SCORM package of that exercise from a page of the built page's size
// (the bytes themselves do not matter to the work).
void BM_Export(benchmark::State& state) {
    const std::string page(220 * 1024, 'x');
    const std::string file = FiftyGoals();
    std::string out;
    bitwell::ExerciseError error;
    for (auto _ : state) {
        bitwell::ExportExercise(page, file, "fifty.bwx", bitwell::ExportKind::Scorm2004, out, error);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// Grading one attempt of 1,000 single-switch actions on that exercise:
// reading the file and replaying it.
void BM_Grade(benchmark::State& state) {
    bitwell::AttemptRecord record;
    record.Open(FiftyGoals());
    for (int i = 0; i < 1000; ++i)
        record.Add({.kind = bitwell::AttemptAction::Kind::DataBit, .bit = i % 16, .value = (i / 16) % 2 == 0});
    const std::string file = record.Write("Bench");
    bitwell::Attempt attempt;
    bitwell::AttemptGrade grade;
    bitwell::ExerciseError error;
    for (auto _ : state) {
        if (!bitwell::ReadAttempt(file, attempt, error) || !bitwell::GradeAttempt(attempt, grade, error))
            state.SkipWithError(error.Text().c_str());
        benchmark::DoNotOptimize(grade.goalsHeld);
    }
}
BENCHMARK(BM_Grade)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// One way of the data word flipping all sixteen bits during a write cycle.
void BM_WorstInteraction(benchmark::State& state) {
    frmMain w;
    w.Form_Load();
    w.show();
    QCoreApplication::processEvents();
    for (const char* name : {"sigWE", "sigLB", "sigUB", "sigCE"})
        w.findChild<QObject*>(name)->setProperty("Value", 0);
    QObject* data = w.findChild<QObject*>("lblData");
    bool high = false;
    for (auto _ : state) {
        high = !high;
        data->setProperty("Caption", high ? QStringLiteral("FFFF") : QStringLiteral("0000"));
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WorstInteraction)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// Spins the event loop until a widget of `window` has been painted.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* window) : m_window(window) { qApp->installEventFilter(this); }
    ~FirstPaint() override { qApp->removeEventFilter(this); }
    void wait() {
        QElapsedTimer t;
        t.start();
        while (!m_painted && t.elapsed() < 5000) QCoreApplication::processEvents();
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && o->isWidgetType() &&
            static_cast<QWidget*>(o)->window() == m_window)
            m_painted = true;
        return false;
    }

private:
    QWidget* m_window;
    bool m_painted = false;
};

// Times make() and showing what it made until its first paint.
template <class Make>
void TimeToFirstPaint(benchmark::State& state, Make make) {
    for (auto _ : state) {
        std::unique_ptr<QWidget> w = make();
        FirstPaint paint(w.get());
        w->show();
        paint.wait();
        state.PauseTiming();
        w.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// As the program starts for a German class: the catalogue is read and the
// window speaks German before it powers up.
void BM_Startup(benchmark::State& state) {
    TimeToFirstPaint(state, [] {
        auto w = std::make_unique<frmMain>();
        w->SetLanguage(QStringLiteral("de"));
        w->Form_Load();
        return std::unique_ptr<QWidget>(std::move(w));
    });
}
BENCHMARK(BM_Startup)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// The same widgets as the real window, as plain Qt widgets of the same kinds
// at the same places, with no logic: a copy of its tree.
struct Blueprint {
    const char* kind;
    int parent;  // index into the blueprint, -1 for the client area
    QRect geometry;
    QString text;
    QFont font;
};

// The menu bar as the real window has it: each menu's title and its items,
// a submenu as a menu of its own.
struct MenuBlueprint {
    QString title;
    QStringList items;
    std::vector<MenuBlueprint> submenus;
};

std::vector<MenuBlueprint> CopyMenus(const QMenuBar* bar) {
    const std::function<MenuBlueprint(const QMenu*)> copy = [&](const QMenu* menu) {
        MenuBlueprint m{menu->title(), {}, {}};
        for (QAction* a : menu->actions()) {
            if (a->menu()) m.submenus.push_back(copy(a->menu()));
            else m.items << a->text();
        }
        return m;
    };
    std::vector<MenuBlueprint> out;
    for (QAction* a : bar->actions())
        if (a->menu()) out.push_back(copy(a->menu()));
    return out;
}

void MakeMenus(QMenuBar* bar, const std::vector<MenuBlueprint>& menus) {
    const std::function<void(QMenu*, const MenuBlueprint&)> fill = [&](QMenu* menu, const MenuBlueprint& m) {
        for (const QString& item : m.items) menu->addAction(item);
        for (const MenuBlueprint& sub : m.submenus) fill(menu->addMenu(sub.title), sub);
    };
    for (const MenuBlueprint& m : menus) fill(bar->addMenu(m.title), m);
}

std::vector<Blueprint> CopyTree() {
    frmMain w;
    std::vector<Blueprint> out;
    std::map<const QWidget*, int> index;
    const std::function<void(const QWidget*, int)> walk = [&](const QWidget* parent, int at) {
        for (QObject* o : parent->children()) {
            auto* c = qobject_cast<QWidget*>(o);
            if (!c) continue;
            Blueprint b{"QWidget", at, c->geometry(), {}, c->font()};
            if (c->inherits("QScrollBar")) b.kind = "QScrollBar";
            else if (auto* l = qobject_cast<QLabel*>(c)) b.kind = "QLabel", b.text = l->text();
            // A caption is static text: a label with the same text.
            else if (auto* k = qobject_cast<CaptionLabel*>(c)) b.kind = "QLabel", b.text = k->Caption();
            else if (auto* r = qobject_cast<QRadioButton*>(c)) b.kind = "QRadioButton", b.text = r->text();
            else if (auto* g = qobject_cast<QGroupBox*>(c)) b.kind = "QGroupBox", b.text = g->title();
            out.push_back(b);
            walk(c, int(out.size()) - 1);
        }
    };
    walk(w.centralWidget(), -1);
    return out;
}

void BM_StartupFloor(benchmark::State& state) {
    const std::vector<Blueprint> tree = CopyTree();
    frmMain reference;
    const std::vector<MenuBlueprint> menus = CopyMenus(reference.menuBar());
    TimeToFirstPaint(state, [&] {
        auto w = std::make_unique<QMainWindow>();
        w->setFont(reference.font());
        MakeMenus(w->menuBar(), menus);
        auto* central = new QWidget;
        central->setFixedSize(reference.centralWidget()->size());
        w->setCentralWidget(central);
        w->layout()->setSizeConstraint(QLayout::SetFixedSize);
        std::vector<QWidget*> made;
        made.reserve(tree.size());
        for (const Blueprint& b : tree) {
            QWidget* parent = b.parent < 0 ? central : made[size_t(b.parent)];
            QWidget* c;
            if (!qstrcmp(b.kind, "QScrollBar")) {
                auto* s = new QScrollBar(Qt::Vertical, parent);
                s->setRange(0, 1);
                c = s;
            } else if (!qstrcmp(b.kind, "QLabel")) {
                c = new QLabel(b.text, parent);
            } else if (!qstrcmp(b.kind, "QRadioButton")) {
                c = new QRadioButton(b.text, parent);
            } else if (!qstrcmp(b.kind, "QGroupBox")) {
                c = new QGroupBox(b.text, parent);
            } else {
                c = new QWidget(parent);
            }
            c->setGeometry(b.geometry);
            c->setFont(b.font);
            made.push_back(c);
        }
        return std::unique_ptr<QWidget>(std::move(w));
    });
}
BENCHMARK(BM_StartupFloor)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// Repainting the timing diagram window at its default size and zoom with a
// full trace of 4,096 kept steps.
void BM_TimingPaint(benchmark::State& state) {
    bitwell::Panel panel;
    panel.Form_Load();
    for (const bitwell::Control c : {bitwell::Control::CE, bitwell::Control::UB})
        panel.MoveLevel(c, 0);
    for (int i = 0; i < 5000; ++i) {
        // Every kind of lane change: levels, address, data and cycles.
        panel.MoveDataBit(i % 16, (i / 16) % 2);
        if (i % 7 == 0) panel.MoveAddressBit(i % 4, (i / 4) % 2);
        if (i % 11 == 0) panel.MoveLevel(bitwell::Control::WE, (i / 11) % 2);
    }
    frmTiming window(panel.trace(), [] {}, {});
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state) window.repaint();
}
BENCHMARK(BM_TimingPaint)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// Retranslating the whole window, with the timing diagram open: one switch
// a run, between German and English.
void BM_LanguageSwitch(benchmark::State& state) {
    frmMain window;
    window.Form_Load();
    window.show();
    window.findChild<QAction*>(QStringLiteral("mnuViewTiming"))->trigger();
    QCoreApplication::processEvents();
    bool german = false;
    for (auto _ : state) {
        german = !german;
        window.SetLanguage(german ? QStringLiteral("de") : QStringLiteral("en"));
    }
}
BENCHMARK(BM_LanguageSwitch)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// Prints as usual and keeps each benchmark's median, in its own unit.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    MedianReporter() : ConsoleReporter(OO_Tabular) {}

    std::map<std::string, double> medians;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                medians[r.run_name.function_name] = r.GetAdjustedRealTime();
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& m = reporter.medians;
    if (m.count("BM_UpdateMemory") && m.count("BM_WorstInteraction") && m.count("BM_Startup") &&
        m.count("BM_StartupFloor") && m.count("BM_TimingPaint") && m.count("BM_ExerciseEval") &&
        m.count("BM_ExerciseOpen") && m.count("BM_LanguageSwitch") && m.count("BM_ExerciseEvalAfterActions") &&
        m.count("BM_Export") && m.count("BM_Grade")) {
        // BM_UpdateMemory reports nanoseconds.
        std::printf("update_memory_us=%.3f worst_interaction_ms=%.3f startup_ms=%.2f floor_ms=%.2f "
                    "startup_ratio=%.2f timing_paint_ms=%.2f exercise_eval_us=%.3f exercise_eval_after_actions_us=%.3f "
                    "exercise_open_ms=%.3f language_switch_ms=%.2f export_ms=%.3f grade_ms=%.3f\n",
                    m["BM_UpdateMemory"] / 1000.0, m["BM_WorstInteraction"], m["BM_Startup"],
                    m["BM_StartupFloor"], m["BM_Startup"] / m["BM_StartupFloor"], m["BM_TimingPaint"],
                    m["BM_ExerciseEval"] / 1000.0, m["BM_ExerciseEvalAfterActions"] / 1000.0, m["BM_ExerciseOpen"],
                    m["BM_LanguageSwitch"], m["BM_Export"], m["BM_Grade"]);
    }
    return 0;
}
