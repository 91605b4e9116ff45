#pragma once

#include "marquee/CSQCtrl.h"
#include "toolkit/CommandButton.h"
#include "toolkit/CommonDialog.h"
#include "toolkit/Frame.h"
#include "toolkit/HScrollBar.h"
#include "toolkit/HttpFetch.h"
#include "toolkit/Label.h"
#include "toolkit/Menu.h"
#include "toolkit/TextBox.h"
#include "toolkit/Window.h"

#include <QString>

#include <cstdint>
#include <memory>

class CCtrlFlavors;
class QTimer;
class CFileStream;
class CRForm;

// The control panel: a small fixed window with the menus File, Ctrl, Option
// and About and the "Speed Control" frame. It owns the scroll controller and,
// through it, the strip; closing it, once confirmed, ends the application.
//
// Life: the constructor creates the widgets and runs Form_Initialize; Load
// runs Form_Load once and enters the panel in the list of loaded panels,
// which holds it until it is unloaded. Every handler holds the panel while it
// runs, so Form_Terminate (the destructor) runs after the last one returned.
class FormMain : public toolkit::Window, private CSQCtrlEvents {
public:
    FormMain();
    ~FormMain() override;

    // Runs Form_Load the first time.
    void Load();
    // The panels loaded and not yet unloaded.
    static std::vector<std::shared_ptr<FormMain>> LoadedPanels();

    // Widgets.
    toolkit::Frame& Frame1() { return *m_Frame1; }
    toolkit::Label& Label1() { return *m_Label1; }
    toolkit::Label& Label2() { return *m_Label2; }
    toolkit::Label& Label3() { return *m_Label3; }
    toolkit::CommandButton& btnFF() { return *m_btnFF; }
    toolkit::HScrollBar& HScrollSpeed() { return *m_HScrollSpeed; }
    toolkit::HScrollBar& HScrollTiming() { return *m_HScrollTiming; }
    toolkit::TextBox& TextSpeed() { return *m_TextSpeed; }
    toolkit::TextBox& TextTiming() { return *m_TextTiming; }

    // The menu items that are reached from outside, in display order.
    toolkit::MenuItem& mnuFileLocal() { return *m_mnuFileLocal; }
    toolkit::MenuItem& mnuFileLocalReload() { return *m_mnuFileLocalReload; }
    toolkit::MenuItem& mnuFileWeb() { return *m_mnuFileWeb; }
    toolkit::MenuItem& mnuFileWebReload() { return *m_mnuFileWebReload; }
    toolkit::MenuItem& mnuCtrlPlay() { return *m_mnuCtrlPlay; }
    toolkit::MenuItem& mnuCtrlPause() { return *m_mnuCtrlPause; }
    toolkit::MenuItem& mnuOptionFont() { return *m_mnuOptionFont; }
    toolkit::MenuItem& mnuOptionFontColor() { return *m_mnuOptionFontColor; }
    toolkit::MenuItem& mnuOptionBackColor() { return *m_mnuOptionBackColor; }
    toolkit::MenuItem& mnuOptionStartUpPosition() { return *m_mnuOptionStartUpPosition; }
    toolkit::MenuItem& mnuOptionPanel() { return *m_mnuOptionPanel; }
    toolkit::MenuItem& mnuOptionHideMenu() { return *m_mnuOptionHideMenu; }
    toolkit::MenuItem& mnuAboutMe() { return *m_mnuAboutMe; }

    // What the panel works on.
    const std::shared_ptr<CSQCtrl>& Controller() const { return csqc; }
    const std::shared_ptr<CCtrlFlavors>& CtrlFlavors() const { return m_clsCtrlFlavors; }

    // Life of the panel.
    void Form_Initialize();
    void Form_Load();
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode);
    void Form_Unload() { csqc->Unload(); }
    void Form_Terminate();

    // Options run at load time too.
    void HScrollSpeed_Change();
    void HScrollTiming_Change();
    void mnuOptionStartUpPosition_Click();
    void mnuOptionPanel_Click();

    // Playback.
    void mnuFileQuit_Click() { Unload(); }
    void mnuCtrlPlay_Click();
    void mnuCtrlStop_Click() { csqc->Scroll(false, QString()); }
    void mnuCtrlPause_Click();
    void TextSpeed_Change();
    void TextTiming_Change();
    void btnFF_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void btnFF_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void csqc_MouseDown(int16_t& Button);

    // Text sources (FormMain_TextSources.cpp).
    void mnuFileLocal_Click();
    void mnuFileLocalReload_Click();
    void mnuFileWeb_Click();
    void mnuFileWebReload_Click();

    // What "Local(&L)..." and "Web(&W)..." do once the user has named a file or an address;
    // a file or address named on the command line comes in here too.
    void OpenLocalFile(const QString& path);
    void OpenWebAddress(const QString& address);

    // Scheduled reload (FormMain_Reload.cpp): every `minutes` (1 to 1440; 0 ends the
    // schedule, anything else raises "Invalid property value") the file or address named
    // last is read again. A changed text takes over once the current one has passed the
    // strip; a failure is written to standard error, never shown in a box.
    void SetReloadMinutes(int minutes);
    int ReloadMinutes() const;
    // One turn of the schedule.
    void ReloadNow();

    // Appearance and window options (FormMain_Appearance.cpp).
    void mnuOptionFont_Click();
    void mnuOptionFontColor_Click();
    void mnuOptionBackColor_Click();
    void mnuOptionZOrder_Click();
    void mnuOptionHideMenu_Click() { SetVisible(false); }
    // The strip is owned by the panel, so it goes and comes back with it.
    void mnuOptionHideVorn_Click() { SetWindowState(toolkit::vbMinimized); }
    void mnuAboutMe_Click();

private:
    void createWidgets();
    void createMenus();

    // Line breaks to blanks, then markup cut (FormMain_TextSources.cpp).
    void CleanText(QString& rstrText);
    // Hands a loaded text to the controller, which scrolls it until a stop, unless the panel
    // was unloaded meanwhile.
    void HandOver(const QString& text);

    // The strip's notifications.
    void MouseDown(int16_t& Button) override { csqc_MouseDown(Button); }

    std::shared_ptr<CSQCtrl> csqc;
    std::shared_ptr<toolkit::Window> m_frmMarquee;
    std::shared_ptr<CFileStream> m_clsFileStream;
    std::shared_ptr<CRForm> m_clsRForm;
    std::shared_ptr<CCtrlFlavors> m_clsCtrlFlavors;
    QString m_strURL;
    bool m_blnFormLoaded = false;
    // What the reload schedule reads: the kind of source named last.
    enum class Source { None, File, Web } m_lastSource = Source::None;
    // Hand-overs so far: a scheduled reload that a load overtook drops its text.
    uint64_t m_handOvers = 0;
    // A scheduled turn or the Web command waits for its page (a turn also for its file).
    bool m_blnFetching = false;
    std::shared_ptr<QTimer> m_reloadTimer;

    std::unique_ptr<toolkit::Frame> m_Frame1;
    std::unique_ptr<toolkit::Label> m_Label1, m_Label2, m_Label3;
    std::unique_ptr<toolkit::CommandButton> m_btnFF;
    std::unique_ptr<toolkit::HScrollBar> m_HScrollSpeed, m_HScrollTiming;
    std::unique_ptr<toolkit::TextBox> m_TextSpeed, m_TextTiming;
    std::unique_ptr<toolkit::CommonDialog> m_CommonDialogMain = std::make_unique<toolkit::CommonDialog>();
    std::unique_ptr<toolkit::Inet> m_InetMain = std::make_unique<toolkit::Inet>();

    std::unique_ptr<toolkit::MenuItem> m_mnuFile, m_mnuFileLocal, m_mnuFileLocalReload,
        m_mnuFileWeb, m_mnuFileWebReload, m_mnuVornHR01, m_mnuFileQuit;
    std::unique_ptr<toolkit::MenuItem> m_mnuCtrl, m_mnuCtrlPlay, m_mnuCtrlStop, m_mnuCtrlPause;
    std::unique_ptr<toolkit::MenuItem> m_mnuOption, m_mnuOptionFont, m_mnuOptionFontColor,
        m_mnuOptionBackColor, m_mnuOptionHR01, m_mnuOptionZOrder, m_mnuOptionStartUpPosition,
        m_mnuOptionPanel, m_mnuOptionHR02, m_mnuOptionHideMenu, m_mnuOptionHideVorn;
    std::unique_ptr<toolkit::MenuItem> m_mnuAbout, m_mnuAboutMe;
};
