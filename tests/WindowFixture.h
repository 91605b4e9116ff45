#pragma once

// What the suites on windows share: the event loop run out, a layout check, a modal window
// acted on, and fixtures with unpaced and watched yields.

#include "support/Overrides.h"
#include "toolkit/Control.h"
#include "toolkit/Window.h"

#include <QApplication>
#include <QImage>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// Runs what the event loop has queued, a few rounds deep.
// Shown windows come on screen one after another; it waits for them too.
inline void drain() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    (void)QTest::qWaitFor([] { return !toolkit::Window::MapsPending(); }, 2000);
    QCoreApplication::processEvents();
}

// Sends w a mouse event at `at`: `button` is the one that changed, `held` those down after it.
inline void sendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// A press at `from`, a move to `to` with the button held, and the release there.
inline void pressMoveRelease(QWidget* w, Qt::MouseButton button, QPoint from, QPoint to) {
    sendMouse(w, QEvent::MouseButtonPress, from, button, button);
    sendMouse(w, QEvent::MouseMove, to, Qt::NoButton, button);
    sendMouse(w, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}

// How many pixels of a picture have a colour that `match` accepts.
inline int countPixels(const QImage& image, const std::function<bool(QColor)>& match) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += match(image.pixelColor(x, y)) ? 1 : 0;
    }
    return n;
}

// What a user would see wrong in a window's layout: a control reaching out of what holds it,
// two side by side that overlap (a label's text may run a few pixels over), or a caption cut off.
inline void expectLaidOut(std::initializer_list<toolkit::Control*> controls) {
    for (toolkit::Control* c : controls) {
        const QWidget* w = c->NativeWidget();
        // A label's or a button's caption; a text box's text may run on.
        QString text =
            qobject_cast<const QLineEdit*>(w) ? QString() : w->property("text").toString();
        SCOPED_TRACE(text.isEmpty() ? std::string(w->metaObject()->className())
                                    : text.toStdString());
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()));
        EXPECT_LE(w->fontMetrics().horizontalAdvance(text.remove(QLatin1Char('&'))), w->width());
        for (toolkit::Control* other : controls) {
            const QWidget* o = other->NativeWidget();
            if (o != w && o->parentWidget() == w->parentWidget()) {
                const QRect both = w->geometry() & o->geometry();
                EXPECT_TRUE(both.isEmpty() || std::min(both.width(), both.height()) <= 3)
                    << o->metaObject()->className();
            }
        }
    }
}

// Acts on the application's modal window once it is mapped and active, as a user would: keys
// reach the active window, not one that is merely modal. A window still open 10 s later is
// closed and fails the test. Lives for the scope of the show.
class WhenModal {
public:
    explicit WhenModal(std::function<void(QWidget&)> act) : m_act(std::move(act)) {
        QObject::connect(&m_look, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            m_look.stop();
            EXPECT_TRUE(QTest::qWaitFor([modal] { return modal->isVisible(); }, 2000));
            modal->activateWindow();
            EXPECT_TRUE(
                QTest::qWaitFor([modal] { return QApplication::activeWindow() == modal; }, 2000));
            ran = true;
            m_act(*modal);
        });
        m_look.start(5);
        QTimer::singleShot(10000, &m_look, [] {
            ADD_FAILURE() << "the dialog did not close";
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
    }
    bool ran = false;

private:
    std::function<void(QWidget&)> m_act;
    QTimer m_look;
};

// Yields that do not wait, and the errors the toolkit would show recorded instead.
class Unpaced : public ::testing::Test {
protected:
    std::vector<QString> reported;
    testsupport::ScopedYieldPeriod unpaced{std::chrono::nanoseconds::zero()};
    testsupport::ScopedErrorReporter reporter{[this](const QString& t) { reported.push_back(t); }};
};

// Counts every yield and hands it to onYield; past the limit it stops the scroll, so that a
// broken loop fails the test instead of hanging it.
class YieldWatch {
protected:
    explicit YieldWatch(std::function<void()> stopScroll) : m_stop(std::move(stopScroll)) {}
    std::function<void()> onYield;
    int yields = 0;
    int limit = 100000;

private:
    std::function<void()> m_stop;
    testsupport::ScopedYieldHook m_hook{[this] {
        if (++yields > limit) {
            ADD_FAILURE() << "the scroll loop did not end";
            m_stop();
        } else if (onYield) {
            onYield();
        }
    }};
};
