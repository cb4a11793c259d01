#include "core/Panel.h"

#include "core/Conversions.h"

#include <tuple>

namespace bitwell {

// Marks one change from outside the cascade: the evaluations it runs, however
// deeply nested, share one action number, taken by the first of them.
class Panel::Action {
public:
    explicit Action(Panel& panel) : m_panel(panel) {
        if (m_panel.m_depth++ == 0) m_panel.m_actionOpen = false;
    }
    ~Action() {
        // The outermost change is over: its last evaluation has run. The
        // observer (an exercise) checks first, so that the view can tell of
        // the action and of what the check found together.
        if (--m_panel.m_depth == 0 && m_panel.m_actionOpen) {
            if (m_panel.m_observer) m_panel.m_observer->actionEnded();
            if (m_panel.m_view) m_panel.m_view->actionEnded(m_panel.m_trace.back());
        }
    }
    Action(const Action&) = delete;
    Action& operator=(const Action&) = delete;

private:
    Panel& m_panel;
};

namespace {

int Clamp(int value) { return value >= 1 ? 1 : 0; }

template <std::size_t N>
std::string BitsText(const std::array<int, N>& bits) {
    std::string text;
    for (std::size_t k = N; k-- > 0;) text += bits[k] == 1 ? '1' : '0';
    return text;
}

}  // namespace

Panel::Panel(PanelView* view) : m_view(view), m_device(*this) { m_lamps.fill(true); }

void Panel::Form_Load() {
    // Power-up's evaluations are action 0.
    m_poweringUp = true;
    m_device.Form_Load();
    m_poweringUp = false;
}

// ---- What the user does ----

void Panel::MoveLevel(Control c, int value) {
    Action action(*this);
    setLevel(c, value);
}

void Panel::MoveAddressBit(int bit, int value) {
    Action action(*this);
    setAddressBit(bit, value);
}

void Panel::MoveDataBit(int bit, int value) {
    Action action(*this);
    setDataBit(bit, value);
}

void Panel::EditAddressText(const std::string& text) {
    Action action(*this);
    setAddressText(text);
}

void Panel::EditDataText(const std::string& text) {
    Action action(*this);
    setDataText(text);
}

void Panel::EditReadText(const std::string& text) {
    Action action(*this);
    setReadText(text);
}

void Panel::ChooseOrder(bool bigEndian) {
    Action action(*this);
    if (m_big != bigEndian) {
        m_big = bigEndian;
        if (m_view) m_view->orderChanged(m_big);
    }
    evaluate(Cause::Order);
}

TypedEntry Panel::EnterTypedWord(const std::vector<TypedCharacter>& answer) {
    Action action(*this);
    TypedEntry entry = InterpretTypedEntry(answer);
    if (entry.kind == TypedEntry::Kind::Word) {
        const std::string word(entry.text.begin(), entry.text.end());
        setDataText(word);
        // Once more from the word itself; the switches already agree.
        dataTextToBits();
    }
    return entry;
}

void Panel::CopyReadToData() {
    Action action(*this);
    setDataText(m_readText);
}

void Panel::ClearTrace() {
    m_trace.Clear();
    if (m_view) m_view->traceCleared();
}

void Panel::UndoClearTrace() {
    if (!m_trace.CanUndoClear()) return;
    m_trace.UndoClear();
    if (m_view) m_view->traceCleared();
}

// ---- The rules ----

template <class Notify, class Rest>
void Panel::tell(Notify notify, Rest rest) {
    Cascade then(rest);
    if (m_view) notify(*m_view, then);
    then();
}

void Panel::setLevel(Control c, int value) {
    int& slot = m_levels[Index(c)];
    value = Clamp(value);
    if (slot == value) return;
    slot = value;
    tell([&](PanelView& v, Cascade& then) { v.levelChanged(c, value, then); },
         [&] { evaluate(static_cast<Cause>(Index(c))); });
}

void Panel::setAddressBit(int bit, int value) {
    int& slot = m_address[static_cast<std::size_t>(bit) & 3];
    value = Clamp(value);
    if (slot == value) return;
    slot = value;
    tell([&](PanelView& v, Cascade& then) { v.addressBitChanged(bit & 3, value, then); },
         [&] {
             addressBitsToText();
             evaluate(static_cast<Cause>(static_cast<int>(Cause::A0) + (bit & 3)));
         });
}

void Panel::setDataBit(int bit, int value) {
    int& slot = m_data[Bit(bit)];
    value = Clamp(value);
    if (slot == value) return;
    slot = value;
    tell([&](PanelView& v, Cascade& then) { v.dataBitChanged(bit & 15, value, then); },
         [&] {
             dataBitsToText();
             evaluate(static_cast<Cause>(static_cast<int>(Cause::D0) + (bit & 15)));
         });
}

bool Panel::store(std::string& slot, const std::string& text,
                  void (PanelView::*changed)(const std::string&)) {
    if (text == slot) return false;
    slot = text;
    if (m_view) (m_view->*changed)(slot);
    return true;
}

void Panel::setAddressText(const std::string& text) {
    store(m_addressText, text, &PanelView::addressTextChanged);
}

void Panel::setDataText(const std::string& text) {
    if (text == m_dataText) return;
    m_dataText = text;
    tell([&](PanelView& v, Cascade& then) { v.dataTextChanged(m_dataText, then); },
         [&] { dataTextToBits(); });
}

void Panel::addressBitsToText() {
    std::string bits = BitsText(m_address);
    setAddressText(BinToHex(bits));
}

void Panel::dataBitsToText() {
    std::string bits = BitsText(m_data);
    setDataText(BinToHex(bits));
}

void Panel::dataTextToBits() {
    // Bit 15 first; each switch that really moves runs its own evaluation
    // with the word as it stands at that moment.
    const auto bits = SixteenBits(HexToBin(m_dataText));
    for (int k = 15; k >= 0; --k) setDataBit(k, bits[static_cast<std::size_t>(k)]);
}

void Panel::setReadText(const std::string& text) {
    if (text == m_readText) return;
    m_readText = text;
    tell([&](PanelView& v, Cascade& then) { v.readTextChanged(m_readText, then); }, [&] {
        const auto bits = SixteenBits(HexToBin(m_readText));
        for (int k = 0; k < 16; ++k) setReadLampVisible(k, bits[static_cast<std::size_t>(k)] == 1);
    });
}

void Panel::setContentsText(const std::string& text) {
    store(m_contents, text, &PanelView::contentsChanged);
}

void Panel::Retranslate() {
    std::string text;
    TypesListing(m_device.memWords, HexToInt(m_addressText) & 0xF, m_addressText, m_big, text);
    setTypesText(text);
}

void Panel::setTypesText(const std::string& text) { store(m_types, text, &PanelView::typesChanged); }

void Panel::setReadLampVisible(int bit, bool visible) {
    bool& lamp = m_lamps[Bit(bit)];
    if (lamp == visible) return;
    lamp = visible;
    if (m_view) m_view->lampChanged(bit & 15, visible);
}

void Panel::evaluate(Cause cause) {
    const Evaluation done = m_device.UpdateMemory();
    if (!m_poweringUp && !m_actionOpen) {
        ++m_actions;
        m_actionOpen = true;
    }
    TraceStep& s = m_trace.Append();
    s.step = ++m_steps;
    s.action = m_poweringUp ? 0 : m_actions;
    s.cause = cause;
    for (std::size_t i = 0; i < 5; ++i) s.levels[i] = m_levels[i];
    s.address = m_addressText;
    s.data = m_dataText;
    s.read = m_readText;
    s.cycle = done.cycle;
    s.bytes = done.bytes;
    s.word = m_device.memWords[static_cast<std::size_t>(HexToInt(m_addressText) & 0xF)];
    if (m_view) m_view->stepRecorded(s);
    if (m_observer) m_observer->evaluated(s, done);
}

// ---- For an exercise ----

void Panel::PowerUpAfresh() {
    auto nothing = [] {};
    for (std::size_t c = 0; c < m_levels.size(); ++c) {
        if (m_levels[c] == 0) continue;
        m_levels[c] = 0;
        Cascade then(nothing);
        if (m_view) m_view->levelChanged(static_cast<Control>(c), 0, then);
    }
    for (std::size_t k = 0; k < m_address.size(); ++k) {
        if (m_address[k] == 0) continue;
        m_address[k] = 0;
        Cascade then(nothing);
        if (m_view) m_view->addressBitChanged(static_cast<int>(k), 0, then);
    }
    for (std::size_t k = 0; k < m_data.size(); ++k) {
        if (m_data[k] == 0) continue;
        m_data[k] = 0;
        Cascade then(nothing);
        if (m_view) m_view->dataBitChanged(static_cast<int>(k), 0, then);
    }
    store(m_addressText, "0", &PanelView::addressTextChanged);
    if (m_dataText != "0000") {
        m_dataText = "0000";
        Cascade then(nothing);
        if (m_view) m_view->dataTextChanged(m_dataText, then);
    }
    if (m_readText != "0000") {
        m_readText = "0000";
        Cascade then(nothing);
        if (m_view) m_view->readTextChanged(m_readText, then);
    }
    for (int k = 0; k < 16; ++k) setReadLampVisible(k, true);
    store(m_contents, "", &PanelView::contentsChanged);
    store(m_types, "", &PanelView::typesChanged);
    if (!m_big) {
        m_big = true;
        if (m_view) m_view->orderChanged(true);
    }
    Form_Load();
}

bool Panel::MemoryAtPowerOn() const {
    for (std::size_t i = 0; i < 16; ++i)
        if (m_device.memWords[i] != "FFFF") return false;
    return true;
}

void Panel::StoreWords(const std::array<int, 16>& words) {
    for (std::size_t i = 0; i < words.size(); ++i)
        if (words[i] >= 0 && words[i] <= 0xFFFF) {
            static constexpr char kDigits[] = "0123456789ABCDEF";
            std::string& word = m_device.memWords[i];
            word.assign(4, '0');
            for (std::size_t d = 0; d < 4; ++d) word[d] = kDigits[(words[i] >> (12 - 4 * d)) & 0xF];
        }
    m_device.UpdateContents();
    m_device.UpdateTypes();
}

Panel::State Panel::Saved() const {
    State state;
    for (std::size_t i = 0; i < 16; ++i) state.words[i] = HexToInt(m_device.memWords[i]) & 0xFFFF;
    state.levels = m_levels;
    state.address = HexToInt(m_addressText) & 0xF;
    state.data = HexToInt(m_dataText) & 0xFFFF;
    state.read = HexToInt(m_readText) & 0xFFFF;
    state.bigEndian = m_big;
    state.steps = m_steps;
    state.actions = m_actions;
    return state;
}

void Panel::Restore(const State& state) {
    auto nothing = [] {};
    static constexpr char kDigits[] = "0123456789ABCDEF";
    auto hex = [](int value, std::size_t digits) {
        std::string text(digits, '0');
        for (std::size_t d = 0; d < digits; ++d) text[d] = kDigits[(value >> (4 * (digits - 1 - d))) & 0xF];
        return text;
    };
    for (std::size_t c = 0; c < m_levels.size(); ++c) {
        if (m_levels[c] == state.levels[c]) continue;
        m_levels[c] = state.levels[c];
        Cascade then(nothing);
        if (m_view) m_view->levelChanged(static_cast<Control>(c), m_levels[c], then);
    }
    for (std::size_t k = 0; k < m_address.size(); ++k) {
        const int value = (state.address >> k) & 1;
        if (m_address[k] == value) continue;
        m_address[k] = value;
        Cascade then(nothing);
        if (m_view) m_view->addressBitChanged(static_cast<int>(k), value, then);
    }
    for (std::size_t k = 0; k < m_data.size(); ++k) {
        const int value = (state.data >> k) & 1;
        if (m_data[k] == value) continue;
        m_data[k] = value;
        Cascade then(nothing);
        if (m_view) m_view->dataBitChanged(static_cast<int>(k), value, then);
    }
    store(m_addressText, hex(state.address, 1), &PanelView::addressTextChanged);
    for (const auto& [slot, value, changed] :
         {std::tuple{&m_dataText, state.data, &PanelView::dataTextChanged},
          std::tuple{&m_readText, state.read, &PanelView::readTextChanged}}) {
        if (*slot == hex(value, 4)) continue;
        *slot = hex(value, 4);
        Cascade then(nothing);
        if (m_view) (m_view->*changed)(*slot, then);
    }
    for (int k = 0; k < 16; ++k) setReadLampVisible(k, ((state.read >> k) & 1) != 0);
    if (m_big != state.bigEndian) {
        m_big = state.bigEndian;
        if (m_view) m_view->orderChanged(m_big);
    }
    for (std::size_t i = 0; i < 16; ++i) m_device.memWords[i] = hex(state.words[i], 4);
    m_device.UpdateContents();
    m_device.UpdateTypes();
    m_steps = state.steps;
    m_actions = state.actions;
}

}  // namespace bitwell
