#pragma once

// The signal panel and its rules, for every front end: it holds the switch
// positions, the address, data and read texts, the lamps, both listings and
// the word order, runs the chip on every change, and records each
// evaluation in the trace. A front end forwards what the user does to the
// Move…/Edit…/Choose…/Enter…/Copy… calls, each one action, and draws what
// PanelView tells it.
//
// Changes cascade exactly as on a panel of real controls whose notifications
// arrive synchronously: a data switch that moves rewrites the data text, a
// new data text moves the data switches from bit 15 down to bit 0, and every
// switch that really moves runs one evaluation (a typed FFFF over 0000 runs
// sixteen, with the data text passing 8000, C000, … on the way). PanelView
// hears every change at the moment it happens, in that order.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/MemoryDevice.h"
#include "core/SignalPanel.h"
#include "core/Trace.h"
#include "core/TypedEntry.h"

namespace bitwell {

// The rest of a cascade that a change sets off (the evaluation a moved
// switch runs, the switches a new data text moves). It is handed to the
// view with the change, so that a view whose controls notify their own
// listeners can run it inside its control's notification, exactly where a
// handler of that notification would; a view that does not call it leaves
// it to the panel, which runs it as soon as the view returns. Runs once.
class Cascade {
public:
    template <class Rest>
    explicit Cascade(Rest& rest)
        : m_rest(&rest), m_run([](void* r) { (*static_cast<Rest*>(r))(); }) {}
    Cascade(const Cascade&) = delete;
    Cascade& operator=(const Cascade&) = delete;

    void operator()() {
        if (!m_run) return;
        const auto run = m_run;
        m_run = nullptr;
        run(m_rest);
    }

private:
    void* m_rest;
    void (*m_run)(void*);
};

// What a front end is told. Each call comes after the state has changed; a
// front end draws it and must not call back into the Panel from here, but
// for running `then`.
class PanelView {
public:
    virtual ~PanelView() = default;
    virtual void levelChanged(Control, int /*value*/, Cascade& /*then*/) {}
    virtual void addressBitChanged(int /*bit*/, int /*value*/, Cascade& /*then*/) {}
    virtual void dataBitChanged(int /*bit*/, int /*value*/, Cascade& /*then*/) {}
    virtual void addressTextChanged(const std::string&) {}
    virtual void dataTextChanged(const std::string&, Cascade& /*then*/) {}
    virtual void readTextChanged(const std::string&, Cascade& /*then*/) {}
    virtual void lampChanged(int /*bit*/, bool /*lit*/) {}
    virtual void contentsChanged(const std::string&) {}
    virtual void typesChanged(const std::string&) {}
    virtual void orderChanged(bool /*bigEndian*/) {}
    // A step was appended to the trace (the oldest may have gone).
    virtual void stepRecorded(const TraceStep&) {}
    // An action from outside has ended; `last` is its last evaluation (a
    // typed word of sixteen steps ends once). Not called for power-up or
    // for a change that ran no evaluation.
    virtual void actionEnded(const TraceStep& /*last*/) {}
    virtual void traceCleared() {}
};

class Panel final : private SignalPanel {
public:
    // Design-time state: every switch at 0, lamps lit, address "0", data and
    // read "0000", Big Endian, empty listings. The view may be null and must
    // outlive the panel.
    explicit Panel(PanelView* view = nullptr);
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    void setView(PanelView* view) { m_view = view; }

    // Power-up: every word FFFF, contents listed, lamps dark, then WE, CE,
    // OE, LB and UB moved to 1, each running its evaluation (action 0).
    void Form_Load();

    // What the user does; each call is one action. Values other than 0 and
    // 1 are clamped; bits are 0-3 and 0-15 (never checked). Moving a switch
    // to where it stands does nothing.
    void MoveLevel(Control c, int value);
    void MoveAddressBit(int bit, int value);
    void MoveDataBit(int bit, int value);
    // Caption texts edited from outside (a tool, a test), each one action
    // like a moved switch; the private set…Text rules below run inside an
    // action already under way. The address text has no rule of its own;
    // the data text moves the data switches; the read text redraws the
    // lamps.
    void EditAddressText(const std::string& text);
    void EditDataText(const std::string& text);
    void EditReadText(const std::string& text);
    // A click on a word-order option: always one evaluation.
    void ChooseOrder(bool bigEndian);
    // A confirmed typed answer (see InterpretTypedEntry). A word becomes
    // the data text; the result says what the front end shows.
    TypedEntry EnterTypedWord(const std::vector<TypedCharacter>& answer);
    // The read text copied to the data text, unchanged.
    void CopyReadToData();
    void ClearTrace();
    // Brings back the steps of the last ClearTrace() while no step has been
    // recorded since (trace().CanUndoClear()); the view hears traceCleared().
    void UndoClearTrace();

    int level(Control c) const override { return m_levels[Index(c)]; }
    int addressBit(int bit) const { return m_address[static_cast<std::size_t>(bit) & 3]; }
    int dataBit(int bit) const { return m_data[Bit(bit)]; }
    std::string addressText() const override { return m_addressText; }
    std::string dataText() const override { return m_dataText; }
    std::string readText() const override { return m_readText; }
    bool lamp(int bit) const { return m_lamps[Bit(bit)]; }
    std::string contentsText() const override { return m_contents; }
    const std::string& typesText() const { return m_types; }
    bool bigEndian() const override { return m_big; }

    // The data type listing again in the catalogue's current language. No
    // evaluation runs and nothing else changes; the view hears the new text.
    void Retranslate();

    const MemoryDevice& device() const { return m_device; }
    const Trace& trace() const { return m_trace; }

    // ---- For an exercise (see core/Exercise.h) ----

    // Back to the state at program start, then power-up: every switch,
    // text, lamp, listing and the word order as the constructor leaves
    // them (the view hears each change, with nothing left to cascade),
    // then Form_Load. The trace keeps its steps and numbering.
    void PowerUpAfresh();
    // True while every word holds FFFF, as after power-up: powering up
    // afresh then loses nothing.
    bool MemoryAtPowerOn() const;
    // Stores the words whose slot holds 0 to FFFF directly, with no
    // evaluation and nothing recorded (-1 keeps a word), then rebuilds both
    // listings.
    void StoreWords(const std::array<int, 16>& words);
    // Everything a learner set, and the numbering of steps and actions: what
    // a resumed exercise puts back. Words, address and data as numbers
    // (0 to 0xFFFF, 0 to 15), levels 0 or 1, read the read register's word.
    struct State {
        std::array<int, 16> words{};
        std::array<int, 5> levels{};
        int address = 0, data = 0, read = 0;
        bool bigEndian = true;
        std::uint64_t steps = 0, actions = 0;
    };
    State Saved() const;
    // Puts `state` back (values out of range are never checked), the view
    // hearing each change with nothing left to cascade, with no evaluation
    // and nothing recorded; the lamps follow the read word, and both
    // listings are rebuilt.
    void Restore(const State& state);
    // Hears every evaluation and the end of each action that ran at least
    // one; null for none. One observer at a time; it must outlive the panel
    // or be replaced first.
    class Observer {
    public:
        virtual ~Observer() = default;
        virtual void evaluated(const TraceStep& step, const Evaluation& done) = 0;
        virtual void actionEnded() = 0;
    };
    void setObserver(Observer* observer) { m_observer = observer; }
    Observer* observer() const { return m_observer; }

private:
    class Action;

    static std::size_t Index(Control c) { return static_cast<std::size_t>(c); }
    static std::size_t Bit(int bit) { return static_cast<std::size_t>(bit) & 15; }

    // SignalPanel, for the device.
    void setLevel(Control c, int value) override;
    void setReadText(const std::string& text) override;
    void setContentsText(const std::string& text) override;
    void setTypesText(const std::string& text) override;
    void setReadLampVisible(int bit, bool visible) override;

    // Stores a text and tells the view; false when it was already there.
    bool store(std::string& slot, const std::string& text,
               void (PanelView::*changed)(const std::string&));
    // Tells the view of a change with the rest of its cascade, and makes
    // sure the rest runs.
    template <class Notify, class Rest>
    void tell(Notify notify, Rest rest);
    // The rules each change runs, as the controls' own notifications would.
    void setAddressBit(int bit, int value);
    void setDataBit(int bit, int value);
    void setAddressText(const std::string& text);
    void setDataText(const std::string& text);
    void addressBitsToText();
    void dataBitsToText();
    void dataTextToBits();
    void evaluate(Cause cause);

    PanelView* m_view;
    MemoryDevice m_device;
    Trace m_trace;

    std::array<int, 5> m_levels{};
    std::array<int, 4> m_address{};
    std::array<int, 16> m_data{};
    std::array<bool, 16> m_lamps;
    std::string m_addressText = "0";
    std::string m_dataText = "0000";
    std::string m_readText = "0000";
    std::string m_contents;
    std::string m_types;
    bool m_big = true;

    std::uint64_t m_steps = 0;
    std::uint64_t m_actions = 0;
    int m_depth = 0;
    bool m_actionOpen = false;  // the outside change under way has a number
    bool m_poweringUp = false;
    Observer* m_observer = nullptr;
};

}  // namespace bitwell
