#pragma once

#include "marquee/CSQCtrl.h"
#include "support/Overrides.h"
#include "toolkit/Events.h"
#include "toolkit/Window.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Counts the paints of a widget and the pixels they cover.
struct PaintCounter : QObject {
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++paints;
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
                pixels += long{r.width()} * r.height();
        }
        return false;
    }
    int paints = 0;
    long pixels = 0;
};

// A controller shown on an owner window, with unpaced yields and a hook that
// sees every yield. The hook stops the scroll after a safety limit so that a
// broken loop fails the test instead of hanging it.
class ScrollHarness : public ::testing::Test {
protected:
    void SetUp() override {
        csqc = std::make_shared<CSQCtrl>();
        csqc->Show(owner);
        // The map the show queues, and the platform's reports of it.
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        yieldHook.emplace([this] {
            ++yields;
            if (yields > limit) {
                ADD_FAILURE() << "the scroll loop did not end";
                csqc->Scroll(false, QString());
                return;
            }
            if (onYield)
                onYield();
        });
    }

    void TearDown() override {
        yieldHook.reset();
        onYield = nullptr;
        csqc->Unload();
    }

    FormSQMain& form() { return *csqc->Form(); }
    StripText& lead() { return form().TextVorn(0); }
    StripText& trail() { return form().TextVorn(1); }

    std::vector<QString> reported;
    testsupport::ScopedYieldPeriod unpaced{std::chrono::nanoseconds::zero()};
    testsupport::ScopedErrorReporter reporter{[this](const QString& t) { reported.push_back(t); }};
    std::optional<testsupport::ScopedYieldHook> yieldHook;
    toolkit::Window owner;
    std::shared_ptr<CSQCtrl> csqc;
    std::function<void()> onYield;
    int yields = 0;
    int limit = 200000;
};
