#pragma once

#include <QMainWindow>
#include <array>
#include <string>

#include "core/MemoryDevice.h"
#include "core/SignalPanel.h"

class CaptionLabel;
class Group;
class Line;
class OptionButton;
class QAction;
class QMenu;
class Shape;
class Surface;
class Switch;

// The simulator's only main window. The constructor builds every control in
// its design-time state (all switches at 0, lamps shown, captions "0",
// "0000", "0000", Big Endian selected); Form_Load() then powers the device
// up and must run once before the window is shown. Every control's
// objectName is its name; array members are named "sigData(3)" and so on.
class frmMain : public QMainWindow, public bitwell::SignalPanel {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    void Form_Load();

    // The device behind the panel: stored words and how often each of its
    // procedures has run.
    const bitwell::MemoryDevice& device() const { return m_device; }

    // SignalPanel, over the controls.
    int level(bitwell::Control c) const override;
    void setLevel(bitwell::Control c, int value) override;
    std::string addressText() const override;
    std::string dataText() const override;
    std::string readText() const override;
    void setReadText(const std::string& text) override;
    std::string contentsText() const override;
    void setContentsText(const std::string& text) override;
    void setTypesText(const std::string& text) override;
    bool bigEndian() const override;
    void setReadLampVisible(int bit, bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildSignalPanel();
    void buildListings();
    void buildMenus();
    void connectHandlers();
    void nameForAssistiveTechnology();
    void setFocusOrder();
    Switch* levelSwitch(bitwell::Control c) const;

    void sigCE_Change();
    void sigOE_Change();
    void sigWE_Change();
    void sigLB_Change();
    void sigUB_Change();
    void sigAddr_Change(int index);
    void sigData_Change(int index);
    void lblData_Change();
    void lblRead_Change();
    void optBig_Click();
    void optLittle_Click();
    void ShowReadBits(const std::string& bits);
    void SetDataSwitches(const std::string& bits);

    void lblData_DblClick();
    void lblRead_DblClick();

    void SetStatus(const QString& text);
    void mnuFileExit_Click();
    void mnuHelpAbout_Click();
    void Form_Unload(QCloseEvent* event);

    bitwell::MemoryDevice m_device;
    bool m_centred = false;
    bool m_askingToExit = false;

    Surface* m_surface = nullptr;
    Group* Frame1 = nullptr;
    Group* Frame2 = nullptr;
    Group* Frame3 = nullptr;

    Switch* sigWE = nullptr;
    Switch* sigCE = nullptr;
    Switch* sigOE = nullptr;
    Switch* sigLB = nullptr;
    Switch* sigUB = nullptr;
    std::array<Switch*, 4> sigAddr{};
    std::array<Switch*, 16> sigData{};
    std::array<Shape*, 16> sigRead{};
    // Indexed 16 to 31 in the layout, stored from 0 here.
    std::array<Shape*, 16> backgroundRead{};
    std::array<Shape*, 16> borderRead{};

    CaptionLabel* lblWE = nullptr;
    CaptionLabel* lblCE = nullptr;
    CaptionLabel* lblOE = nullptr;
    CaptionLabel* lblLB = nullptr;
    CaptionLabel* lblUB = nullptr;
    CaptionLabel* lblAddrTitle = nullptr;
    CaptionLabel* lblAddr = nullptr;
    CaptionLabel* lblDataTitle = nullptr;
    CaptionLabel* lblData = nullptr;
    CaptionLabel* lblReadTitle = nullptr;
    CaptionLabel* lblRead = nullptr;
    CaptionLabel* lblContents = nullptr;
    CaptionLabel* lblTypes = nullptr;
    CaptionLabel* lblStatus = nullptr;

    OptionButton* optBig = nullptr;
    OptionButton* optLittle = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuHelpAbout = nullptr;
};
