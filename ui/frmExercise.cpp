#include "ui/frmExercise.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "core/Exercise.h"
#include "core/TimingPlacement.h"
#include "ui/Layout.h"
#include "ui/TimingAccessible.h"
#include "ui/Translation.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Texts from a file are the teacher's, never markup.
QLabel* PlainLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

frmExercise::frmExercise(bitwell::ExerciseSession& session, std::function<void()> restart,
                         std::function<void()> close, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_restart(std::move(restart)), m_close(std::move(close)) {
    InstallTimingAccessibles();
    setObjectName(QStringLiteral("frmExercise"));
    setWindowIcon(AppIcon());
    resize(bitwell::kTimingMinWidth, 360);

    m_title = PlainLabel("lblExerciseTitle", this);
    QFont bold = m_title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_title->setFont(bold);
    m_text = PlainLabel("lblExerciseText", this);
    m_goals = new QListWidget(this);
    m_goals->setObjectName(QStringLiteral("lstGoals"));
    m_goals->setWordWrap(true);
    m_goals->setSelectionMode(QAbstractItemView::NoSelection);
    m_hint = PlainLabel("lblExerciseHint", this);
    m_result = PlainLabel("lblExerciseResult", this);
    m_hintButton = new QPushButton(this);
    m_hintButton->setObjectName(QStringLiteral("cmdHint"));
    m_hintButton->setAutoDefault(false);
    m_restartButton = new QPushButton(this);
    m_restartButton->setObjectName(QStringLiteral("cmdExerciseRestart"));
    m_restartButton->setAutoDefault(false);
    connect(m_hintButton, &QPushButton::clicked, this, [this] {
        m_session.NextHint();
        Refresh();
    });
    connect(m_restartButton, &QPushButton::clicked, this, [this] {
        if (m_restart) m_restart();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_hintButton);
    buttons->addStretch();
    buttons->addWidget(m_restartButton);
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_title);
    column->addWidget(m_text);
    column->addWidget(m_goals, 1);
    column->addWidget(m_hint);
    column->addWidget(m_result);
    column->addLayout(buttons);
    Refresh();
}

// Closing the window ends the exercise, as Exercises, Close Exercise does.
void frmExercise::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted() && m_close) m_close();
}

bool frmExercise::Done() const { return m_session.isOpen() && m_session.done(); }

void frmExercise::Refresh() {
    const bitwell::ExerciseWindowTexts& say = bitwell::ExerciseWindow();
    setWindowTitle(Translated(say.title));
    m_goals->setAccessibleName(Translated(say.goals));
    m_hint->setAccessibleName(Translated(say.hint));
    m_hintButton->setText(Translated(say.hintButton));
    m_restartButton->setText(Translated(say.restartButton));
    const bool open = m_session.isOpen();
    m_title->setText(open ? Q(m_session.exercise().Title()) : QString());
    m_text->setText(open ? Q(m_session.exercise().Text()) : QString());
    QStringList hints;
    if (open)
        for (const std::string& h : m_session.ShownHints()) hints << Q(h);
    m_hint->setText(hints.join(QLatin1Char('\n')));
    m_hint->setVisible(!hints.isEmpty());
    m_hintButton->setEnabled(open && m_session.HasMoreHints());
    m_restartButton->setEnabled(open);
    m_result->setText(open ? Q(m_session.DoneText()) : QString());

    const std::vector<bitwell::ExerciseSession::GoalItem> goals =
        open ? m_session.Goals() : std::vector<bitwell::ExerciseSession::GoalItem>{};
    while (m_goals->count() > static_cast<int>(goals.size())) delete m_goals->takeItem(m_goals->count() - 1);
    while (m_goals->count() < static_cast<int>(goals.size())) {
        auto* item = new QListWidgetItem(m_goals);
        // Shown checked or not, never checkable by the student.
        item->setFlags(Qt::ItemIsEnabled);
    }
    for (int i = 0; i < m_goals->count(); ++i) {
        QListWidgetItem* item = m_goals->item(i);
        const auto& goal = goals[static_cast<std::size_t>(i)];
        item->setText(Q(goal.text));
        item->setCheckState(goal.holds ? Qt::Checked : Qt::Unchecked);
    }
}

void frmExercise::PlaceBeside(const QWidget* main, const QWidget* timing) {
    // Measured with its texts: they set its minimum size.
    Refresh();
    ::PlaceBeside(this, main, timing, SideWindowKind::Exercise);
}
