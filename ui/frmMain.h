#pragma once

#include <QMainWindow>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/Attempt.h"
#include "core/Exercise.h"
#include "core/Panel.h"
#include "core/WindowDescription.h"

class HoverHelp;
class Switch;
class frmExercise;
class frmTiming;

// The simulator's only main window. The constructor builds every control in
// its design-time state (all switches at 0, lamps shown, captions "0",
// "0000", "0000", Big Endian selected); Form_Load() then powers the device
// up and must run once before the window is shown. Every control's, menu's
// and menu item's objectName is its name in the description; array members
// are named "sigData(3)" and so on. Its code is in frmMain.cpp (controls,
// panel and exit), frmMainMenus.cpp and frmMainExercise.cpp.
// The panel's state and rules live in bitwell::Panel: the window forwards
// what the user does to it and draws what it is told.
class frmMain : public QMainWindow, private bitwell::PanelView, private bitwell::ExerciseSession::Listener {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    void Form_Load();

    // Speaks `code` ("en", "de", "fr", "es", "pt_BR") from now on: every text
    // of every window at once, with nothing of the chip's state touched. The
    // choice is not remembered. False, and nothing changes, for a code the
    // catalogue lacks.
    bool SetLanguage(const QString& code);

    // Opens the exercise file at `path` and starts it. On a bad file shows
    // "NAME:LINE: message" in a message box titled "Exercise", returns false
    // and changes nothing. When the memory holds the student's work
    // (ExerciseSession::MemoryChanged) it asks first, as File, Restart does;
    // No returns false and changes nothing.
    bool OpenExercise(const QString& path);

    // The device behind the panel: stored words and how often each of its
    // procedures has run.
    const bitwell::MemoryDevice& device() const { return m_panel.device(); }
    const bitwell::Panel& panel() const { return m_panel; }
    // The timing diagram window, once View, Timing Diagram has opened it.
    frmTiming* timing() const { return m_timing; }
    // The exercise window, once an exercise has opened; the session behind it.
    frmExercise* exerciseWindow() const { return m_exercise; }
    const bitwell::ExerciseSession& exercise() const { return m_session; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // One local file dropped on the window opens as an exercise file.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The control, menu or menu item of the description named `name`, or
    // `name` and `index` for "sigData(3)"; nullptr for none, or for one of
    // another type.
    template <class T = QWidget>
    T* named(std::string_view name, int index = -1) const {
        std::string key(name);
        if (index >= 0) key += '(' + std::to_string(index) + ')';
        const auto found = m_named.find(key);
        return found == m_named.end() ? nullptr : qobject_cast<T*>(found->second);
    }
    Switch* levelSwitch(bitwell::Control c) const;

    void buildControls();
    void buildMenus();
    void connectHandlers();
    void retranslate();
    void retranslateMenus();
    void setFocusOrder();

    // PanelView: the panel's changes drawn on the controls.
    void levelChanged(bitwell::Control c, int value, bitwell::Cascade& then) override;
    void addressBitChanged(int bit, int value, bitwell::Cascade& then) override;
    void dataBitChanged(int bit, int value, bitwell::Cascade& then) override;
    void addressTextChanged(const std::string& text) override;
    void dataTextChanged(const std::string& text, bitwell::Cascade& then) override;
    void readTextChanged(const std::string& text, bitwell::Cascade& then) override;
    void lampChanged(int bit, bool lit) override;
    void contentsChanged(const std::string& text) override;
    void typesChanged(const std::string& text) override;
    void orderChanged(bool bigEndian) override;
    void stepRecorded(const bitwell::TraceStep& step) override;
    void traceCleared() override;
    void actionEnded(const bitwell::TraceStep& last) override;
    // Tells assistive technology `sentence` once, without moving the focus
    // or touching the status line: lblAnnounce takes it as its name and is
    // shown, which screen readers hear as a notification.
    void announce(const QString& sentence);
    // Runs `set` with the controls' own notifications muted: what the panel
    // sets on them is not a new change from outside. Draws nothing itself.
    template <class F>
    void setSilently(F&& set);
    // Sets a control whose notification carries on the panel's cascade: the
    // control's own handler runs `then` when the control notifies, first of
    // its listeners, as the handler of a real control would.
    template <class F>
    void setCarrying(bitwell::Cascade& then, F&& set);
    // In a control's handler: true when the panel set the control, having
    // carried on its cascade, if any; false for a change from outside.
    bool carriedFromPanel();

    void levelSwitch_Change(bitwell::Control c);
    void sigAddr_Change(int index);
    void sigData_Change(int index);
    void lblAddr_Change();
    void lblData_Change();
    void lblRead_Change();
    void optBig_Click();
    void optLittle_Click();

    void lblData_DblClick();
    void lblRead_DblClick();

    void showStatus(const QString& text);
    void mnuFileExit_Click();
    void mnuHelpAbout_Click();
    void mnuViewTiming_Click(bool checked);
    void mnuLanguage_Click(const QString& code);
    void mnuFileRestart_Click();
    void mnuExerciseOpen_Click();
    void mnuExerciseBuiltin_Click(int index);
    void mnuExerciseRestart_Click();
    void mnuExerciseClose_Click();
    void mnuExerciseExport_Click();
    void mnuExerciseSaveAttempt_Click();

    // True when starting afresh loses none of the student's words, or they
    // answer Yes to File, Restart's question.
    bool mayLoseMemory();
    // Starts the open exercise afresh, the attempt's record told.
    void restartExercise();
    // Writes `bytes` to `path`; on failure says so under `title`.
    void writeFile(const QString& path, const std::string& bytes, const bitwell::Message& title);

    // Starts the exercise in `bytes`, named `name` in an error, as built-in
    // `builtin` (-1 for a file). On a bad file shows the error and changes
    // nothing; over the student's work asks first (mayLoseMemory).
    bool startExercise(std::string_view bytes, const std::string& name, int builtin);
    // Every problem of a refused file, one a line ("LINE: message").
    void showExerciseError(const std::vector<bitwell::ExerciseError>& problems);
    // Checks the built-in items that are done and enables what applies.
    void updateExerciseMenu();
    // ExerciseSession::Listener: the window redrawn, done remembered and said.
    void exerciseChanged() override;
    void goalsChecked() override;
    void exerciseDone() override;
    void exerciseUndone() override;
    void Form_Unload(QCloseEvent* event);

    bitwell::Panel m_panel;
    // The exercise's "Done in N actions." and the step it came done at (0:
    // at its start, before any action).
    struct {
        QString sentence;
        std::uint64_t step = 0;
    } m_done;
    // "Done in N actions. Since then: …", said after the action that broke a goal.
    QString m_undone;
    bitwell::ExerciseSession m_session{m_panel, this};
    int m_builtin = -1;  // the open exercise's place in the course, -1 for a file or none
    // The open exercise's file: its bytes and name, for an export.
    std::string m_exerciseBytes, m_exerciseName;
    // What the student did since the open exercise's start, for Save Attempt.
    bitwell::AttemptRecord m_record;
    frmExercise* m_exercise = nullptr;
    bool m_silent = false;  // inside setSilently
    bitwell::Cascade* m_then = nullptr;
    bool m_centred = false;
    bool m_askingToExit = false;
    frmTiming* m_timing = nullptr;
    QWidget* m_announce = nullptr;  // lblAnnounce

    QWidget* m_surface = nullptr;
    // Every control, menu and menu item of the description, by its name.
    std::unordered_map<std::string, QObject*> m_named;
    HoverHelp* m_hover = nullptr;
};
