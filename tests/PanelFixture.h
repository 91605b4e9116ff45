#pragma once

#include "WindowFixture.h"
#include "app/FormMain.h"
#include "app/ModuleMain.h"
#include "support/ScriptedCommonDialog.h"
#include "support/ScriptedPrompts.h"
#include "support/ScriptedShell.h"
#include "util/CCtrlFlavors.h"

// The control panel as Main starts it: scripted prompts, shell and common
// dialog, unpaced, the end of the application recorded instead of done, and the yields
// watched.
class PanelFixture : public Unpaced, protected YieldWatch {
protected:
    PanelFixture() : YieldWatch([this] {
        if (auto c = controller.lock())
            c->Scroll(false, QString());
    }) {}
    void SetUp() override {
        ModuleMain::Main();
        ASSERT_EQ(FormMain::LoadedPanels().size(), 1u);
        panel = FormMain::LoadedPanels().front();
        controller = panel->Controller();
        strip = panel->Controller()->Form();
    }

    void TearDown() override {
        onYield = nullptr;
        for (const auto& p : FormMain::LoadedPanels())
            p->UnloadWithoutQuery();
        panel.reset();
        strip.reset();
        drain();
    }

    CSQCtrl& csqc() { return *controller.lock(); }
    float deskHeight() const { return static_cast<float>(panel->CtrlFlavors()->DeskTopHeight()); }
    // Chooses a menu item as the user does: the click is queued.
    static void click(toolkit::MenuItem& item) { item.NativeAction()->trigger(); }
    // Chooses it and lets the queued click run.
    static void choose(toolkit::MenuItem& item) {
        click(item);
        drain();
    }

    bool controllerGoneAtEnd = false; // at the last end the application asked for
    std::weak_ptr<CSQCtrl> controller;
    testsupport::InstalledPrompts prompts;
    testsupport::InstalledShell shell;
    testsupport::InstalledCommonDialogs dialogs;
    // A run holds its controller, so a controller gone means no run is left.
    testsupport::ScopedEndHook endHook{[this] { controllerGoneAtEnd = controller.expired(); }};
    // Declared last, so that the panel and the strip go before the overrides above.
    std::shared_ptr<FormMain> panel;
    std::shared_ptr<FormSQMain> strip;
};
