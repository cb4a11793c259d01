#pragma once

#include <QWidget>
#include <functional>

namespace bitwell {
class ExerciseSession;
}
class QLabel;
class QListWidget;
class QPushButton;

// The exercise window: a non-modal top-level window that shows the open
// exercise of a session — title, task, one read-only check item per goal
// (checked while the goal holds, its text saying why not yet), the hints
// shown so far, and "Done in N actions." once done. Everything it shows is
// plain text from the session; Refresh() redraws it all, and must be called
// whenever the session's listener hears of a change or the language
// changes. cmdExerciseRestart runs `restart`; closing the window (its close
// control) runs `close`. The session must outlive it.
class frmExercise : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Done READ Done)

public:
    frmExercise(bitwell::ExerciseSession& session, std::function<void()> restart, std::function<void()> close,
                QWidget* parent = nullptr);

    bool Done() const;
    void Refresh();
    // Moves and sizes the window into the free space of `main`'s screen:
    // left of `main`, then above it, covering neither it nor `timing` (may
    // be null) where there is room.
    void PlaceBeside(const QWidget* main, const QWidget* timing);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bitwell::ExerciseSession& m_session;
    std::function<void()> m_restart;
    std::function<void()> m_close;
    QLabel* m_title = nullptr;
    QLabel* m_text = nullptr;
    QListWidget* m_goals = nullptr;
    QLabel* m_hint = nullptr;
    QPushButton* m_hintButton = nullptr;
    QPushButton* m_restartButton = nullptr;
    QLabel* m_result = nullptr;
};
