#include "marquee/CSQCtrl.h"
#include "support/Overrides.h"
#include "toolkit/Events.h"
#include "toolkit/Window.h"
#include "toolkit/WindowSystem.h"
#include "toolkit/X11.h"
#include "util/CCtrlFlavors.h"
#include "util/CRForm.h"
#include "util/modMove.h"

#include <QApplication>
#include <QProcess>
#include <QRect>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <stop_token>
#include <tuple>
#include <thread>
#include <utility>
#include <vector>

#include <xcb/xcb.h>

// The strip on a real X server, through the classes the control panel uses:
// what the window system shows is read back on an X connection of the suite's
// own. The script beside this file starts the server (with or without openbox).

namespace {

using namespace std::chrono_literals;

// True when run_e2e.sh started openbox beside the server.
bool withWindowManager() { return qEnvironmentVariable("VORN_E2E_WM") == QStringLiteral("wm"); }

// Acts as the user: an xdotool command line.
void xdotool(const QString& command) {
    QProcess::execute(QStringLiteral("xdotool"), QProcess::splitCommand(command));
}

// Yields to the event loop until the condition holds; false after 15 s. The pause between
// looks leaves the X server and the window manager the core.
bool waitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        toolkit::DoEvents();
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

// What the X server shows, read on a connection of the suite's own. A window not made yet
// (id 0) or gone reads as an empty rectangle and no properties.
xcb_connection_t* x() {
    static xcb_connection_t* const connection = xcb_connect(nullptr, nullptr);
    return connection;
}
template <typename R> using Reply = std::unique_ptr<R, decltype(&std::free)>;
template <typename R> Reply<R> reply(R* r) { return {r, &std::free}; }
xcb_window_t root() { return xcb_setup_roots_iterator(xcb_get_setup(x())).data->root; }
xcb_atom_t atom(const char* name) {
    const auto r = reply(xcb_intern_atom_reply(
        x(), xcb_intern_atom(x(), 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// A property of 32-bit values (cardinals, atoms, windows); empty when it is not set.
std::vector<uint32_t> values(uint64_t id, const char* name) {
    const auto r = reply(xcb_get_property_reply(
        x(), xcb_get_property(x(), 0, static_cast<xcb_window_t>(id), atom(name), XCB_ATOM_ANY, 0, 1024),
        nullptr));
    if (!r || r->format != 32)
        return {};
    const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(r.get()));
    return {v, v + xcb_get_property_value_length(r.get()) / 4};
}

QRect onScreen(uint64_t id) {
    const auto w = static_cast<xcb_window_t>(id);
    const auto g = reply(xcb_get_geometry_reply(x(), xcb_get_geometry(x(), w), nullptr));
    const auto at = reply(xcb_translate_coordinates_reply(
        x(), xcb_translate_coordinates(x(), w, root(), 0, 0), nullptr));
    return g && at ? QRect(at->dst_x, at->dst_y, g->width, g->height) : QRect();
}

bool viewable(uint64_t id) {
    const auto a = reply(xcb_get_window_attributes_reply(
        x(), xcb_get_window_attributes(x(), static_cast<xcb_window_t>(id)), nullptr));
    return a && a->map_state == XCB_MAP_STATE_VIEWABLE;
}

// The client area grown by the frame the window manager put around it.
QRect outerOnScreen(uint64_t id) {
    const auto e = values(id, "_NET_FRAME_EXTENTS"); // left, right, top, bottom
    return e.size() == 4 ? onScreen(id).marginsAdded(QMargins(e[0], e[2], e[1], e[3])) : onScreen(id);
}

// The desktop: the whole screen, which no panel shares but the one a test puts there (so it is
// also openbox's work area).
QRect desktop() {
    return onScreen(root());
}

// As wide as the desktop, from its left edge, with the bottom edge at `bottom`.
bool acrossTheDesktop(uint64_t id, int bottom) {
    const QRect r = onScreen(id);
    const QRect area = desktop();
    return r.x() == area.x() && r.width() == area.width() && r.y() + r.height() == bottom;
}

bool staysOnTop(uint64_t id) {
    const auto state = values(id, "_NET_WM_STATE");
    return std::find(state.begin(), state.end(), atom("_NET_WM_STATE_ABOVE")) != state.end();
}

// The window holding `id` at the top level: its window manager's frame, or itself.
xcb_window_t topLevel(uint64_t id) {
    auto w = static_cast<xcb_window_t>(id);
    for (int depth = 0; w != XCB_NONE && depth < 4; ++depth) {
        const auto t = reply(xcb_query_tree_reply(x(), xcb_query_tree(x(), w), nullptr));
        if (!t || t->parent == t->root)
            return t ? w : xcb_window_t{XCB_NONE};
        w = t->parent;
    }
    return XCB_NONE;
}

// True when `upper` stands above `lower` among the screen's top-level windows.
bool above(uint64_t upper, uint64_t lower) {
    const auto t = reply(xcb_query_tree_reply(x(), xcb_query_tree(x(), root()), nullptr));
    if (!t)
        return false;
    const xcb_window_t* first = xcb_query_tree_children(t.get()); // the bottom first
    const xcb_window_t* last = first + xcb_query_tree_children_length(t.get());
    const auto* u = std::find(first, last, topLevel(upper));
    const auto* l = std::find(first, last, topLevel(lower));
    return u != last && l != last && u > l;
}

// A window's X window; 0 before it is made.
xcb_window_t idOf(const toolkit::Window& window) {
    return static_cast<xcb_window_t>(toolkit::NativeWindowId(window.hwnd()));
}

// A window with a caption bar placed in twips and shown.
std::shared_ptr<toolkit::Window> titled(const char* caption, float left, float top, float width,
                                        float height) {
    auto window = std::make_shared<toolkit::Window>();
    window->SetCaption(QString::fromLatin1(caption));
    window->Move(left, top, width, height);
    window->Show();
    return window;
}

std::string shown(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

// Run on a thread until stopped, it shares this process's one core (run_e2e.sh gives it one)
// as the load of a busy machine does.
void spin(const std::stop_token& stop) {
    while (!stop.stop_requested()) {
    }
}

class StripOnX : public ::testing::Test, private CSQCtrlEvents {
protected:
    void SetUp() override {
        ASSERT_EQ(xcb_connection_has_error(x()), 0);
        m_owner = titled("vorn2 owner", 3000, 3000, 4500, 3000);
        m_csqc->SetListener(this);
        m_csqc->Show(*m_owner);
        auto record = std::make_shared<CRForm>();
        record->SetFormName(m_csqc->Form());
        m_flavors.SetCRF(record);
    }

    void TearDown() override {
        m_csqc->SetListener(nullptr);
        m_csqc->Unload();
        m_flavors.SetCRF(nullptr);
        m_csqc.reset();
        m_owner.reset();
        toolkit::DoEvents();
        // No test may leave an error the user would have been shown.
        EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join(QStringLiteral("; ")).toStdString();
    }

    FormSQMain& form() const { return *m_csqc->Form(); }
    xcb_window_t stripId() const { return idOf(form()); }
    QRect strip() const { return onScreen(stripId()); }

    // The start-up placement of the control panel.
    void placeAtBottomLeft() {
        form().SetWidth(static_cast<float>(m_flavors.DeskTopWidth()));
        m_flavors.Form2DPosition(pos2DBottomLeft);
    }

    // As the control panel answers a left press on the strip: drag, then back
    // inside the desktop.
    void MouseDown(int16_t& Button) override {
        if (Button == toolkit::vbLeftButton && m_onPress)
            m_onPress();
    }

    std::shared_ptr<toolkit::Window> m_owner;
    std::shared_ptr<CSQCtrl> m_csqc = std::make_shared<CSQCtrl>();
    CCtrlFlavors m_flavors;
    QStringList m_errors;
    testsupport::ScopedErrorReporter m_reporter{[this](const QString& text) { m_errors << text; }};
    std::function<void()> m_onPress;
};

TEST_F(StripOnX, APanelReservingTheBottomLiftsTheStripAboveIt) {
    if (!withWindowManager())
        GTEST_SKIP() << "only a window manager reserves room for panels";
    const QRect before = desktop();
    auto panel =
        titled("vorn2 panel", 0, static_cast<float>((before.height() - 40) * 15), 6000, 600);
    ASSERT_TRUE(waitUntil([&] { return idOf(*panel) != 0; }));
    const uint32_t strut[] = {0, 0, 0, 40};
    xcb_change_property(x(), XCB_PROP_MODE_REPLACE, idOf(*panel), atom("_NET_WM_STRUT"),
                        XCB_ATOM_CARDINAL, 32, 4, strut);
    xcb_flush(x());
    ASSERT_TRUE(waitUntil([&] { return m_flavors.DeskTopHeight() == (before.height() - 40) * 15; }))
        << "DeskTopHeight " << m_flavors.DeskTopHeight();

    placeAtBottomLeft();
    EXPECT_TRUE(waitUntil([&] { return acrossTheDesktop(stripId(), before.height() - 40); }))
        << "strip bottom at " << strip().y() + strip().height();
    panel.reset();
    // The next tests start from the whole desktop again.
    EXPECT_TRUE(waitUntil([&] { return m_flavors.DeskTopHeight() == before.height() * 15; }));
}

TEST_F(StripOnX, TopMostIsSetAndClearedOnTheRealWindowAndKeepsItAbove) {
    placeAtBottomLeft();
    ASSERT_TRUE(waitUntil([&] { return stripId() != 0 && strip().width() > 0; }));
    // Another window over the strip's corner.
    auto cover =
        titled("vorn2 cover", 0, static_cast<float>(m_flavors.DeskTopHeight() - 3000), 3000, 3000);
    // Raised, and once the raise is handled, over the strip.
    const auto coverOnTop = [&] {
        cover->NativeWidget()->raise();
        return above(idOf(*cover), stripId());
    };
    ASSERT_TRUE(waitUntil(coverOnTop));

    m_flavors.Form3DPosition(pos3DTopMost);
    EXPECT_TRUE(waitUntil([&] { return staysOnTop(stripId()); }));
    EXPECT_TRUE(waitUntil([&] { return above(stripId(), idOf(*cover)); }));

    EXPECT_NE(m_flavors.Form3DPosition(pos3DNoTopMost), 0);
    EXPECT_TRUE(waitUntil([&] { return !staysOnTop(stripId()); }));
    // An ordinary window again: the cover can go over it.
    EXPECT_TRUE(waitUntil(coverOnTop));
    // Still where it was: the changes neither hid nor moved it.
    EXPECT_TRUE(acrossTheDesktop(stripId(), desktop().y() + desktop().height()));
}

TEST_F(StripOnX, TheStripStaysAboveItsOwnerAndHidesWhileTheOwnerIsMinimised) {
    // The strip across the owner, so that stacking matters.
    form().Move(0, m_owner->Top() + 300, static_cast<float>(m_flavors.DeskTopWidth()),
                form().Height());
    ASSERT_TRUE(waitUntil([&] { return idOf(*m_owner) != 0 && viewable(stripId()); }));

    // Activating the owner, as a click on it does, leaves the strip above it.
    xdotool(QStringLiteral("windowactivate %1").arg(idOf(*m_owner)));
    const auto stripAboveOwner = [&] { return above(stripId(), idOf(*m_owner)); };
    EXPECT_TRUE(waitUntil(stripAboveOwner));

    // Minimised by the program: the strip goes with it and comes back with it.
    // With nobody to carry the minimise out, the owner is taken as not minimised.
    m_owner->SetWindowState(toolkit::vbMinimized);
    EXPECT_TRUE(waitUntil([&] { return !viewable(stripId()); }));
    if (withWindowManager()) {
        // Brought back once the window manager has minimised it: a restore that overtakes
        // the minimise is not what a user can do.
        EXPECT_TRUE(waitUntil([&] { return !viewable(idOf(*m_owner)); }));
        m_owner->SetWindowState(toolkit::vbNormal);
    }
    EXPECT_TRUE(waitUntil([&] { return m_owner->WindowState() == toolkit::vbNormal; }));
    EXPECT_TRUE(waitUntil([&] { return viewable(stripId()); }));
    EXPECT_TRUE(waitUntil(stripAboveOwner));

    if (withWindowManager()) {
        // Minimised by the user through the window manager.
        xdotool(QStringLiteral("windowminimize %1").arg(idOf(*m_owner)));
        EXPECT_TRUE(waitUntil([&] { return m_owner->WindowState() == toolkit::vbMinimized; }));
        EXPECT_TRUE(waitUntil([&] { return !viewable(stripId()); }));
        xdotool(QStringLiteral("windowactivate %1").arg(idOf(*m_owner)));
        EXPECT_TRUE(waitUntil([&] { return m_owner->WindowState() == toolkit::vbNormal; }));
        EXPECT_TRUE(waitUntil([&] { return viewable(stripId()); }));
    }
}

// openbox tells of an owned window minimised with its owner before it tells of the owner.
// While the server has the owner off the screen, the owned window waits for that news;
// brought back at once, it would make openbox restore the owner too.
TEST_F(StripOnX, AnOwnedWindowMinimisedBeforeItsOwnerWaitsForTheOwnersNews) {
    if (withWindowManager())
        GTEST_SKIP() << "the test plays the window manager";
    ASSERT_TRUE(waitUntil([&] { return viewable(idOf(*m_owner)) && viewable(stripId()); }));
    xcb_unmap_window(x(), idOf(*m_owner));
    const uint32_t iconic[] = {3, XCB_NONE};
    xcb_change_property(x(), XCB_PROP_MODE_REPLACE, stripId(), atom("WM_STATE"), atom("WM_STATE"),
                        32, 2, iconic);
    xcb_flush(x());
    const auto minimised = [&] {
        return form().NativeWidget()->windowState().testFlag(Qt::WindowMinimized);
    };
    ASSERT_TRUE(waitUntil(minimised));
    for (int yield = 0; yield < 10; ++yield)
        toolkit::DoEvents();
    EXPECT_TRUE(minimised());
    xcb_map_window(x(), idOf(*m_owner));
    xcb_flush(x());
}

TEST_F(StripOnX, DragFollowsTheMouseUntilReleaseThenInsideDeskTopPullsItBack) {
    // Narrower than the desktop, so that the drag can carry it off the left.
    form().SetWidth(static_cast<float>(m_flavors.DeskTopWidth()) / 2);
    m_flavors.Form2DPosition(pos2DCenter);
    ASSERT_TRUE(waitUntil([&] { return viewable(stripId()) && !form().GeometryOutstanding(); }));
    const QRect area = desktop();
    const QRect start = strip();
    const QPoint press = start.center();
    // The cursor moves 200 px left of the strip's start, taking the strip
    // partly off the desktop, and 150 px up.
    const QPoint end = press - QPoint(start.x() - area.x() + 200, 150);

    QProcess mover;
    bool dragReturned = false;
    QRect atReturn;
    m_onPress = [&] {
        const int32_t hWnd = form().hwnd();
        // Runs inside the move: a second drag is refused at once, and the
        // mouse is moved and released only now that the move is under way.
        toolkit::PostToDispatch([&, hWnd] {
            // Only while the first runs: afterwards it would wait for ever.
            if (!dragReturned) {
                modMove::DragWindow(hWnd);
                EXPECT_FALSE(dragReturned) << "the second drag waited for the first";
            }
            mover.startCommand(QString::asprintf(
                "xdotool mousemove %d %d sleep 0.2 mousemove %d %d sleep 0.2 mouseup 1",
                (press.x() + end.x()) / 2, (press.y() + end.y()) / 2, end.x(), end.y()));
        });
        modMove::DragWindow(hWnd);
        dragReturned = true;
        EXPECT_FALSE(toolkit::LeftButtonDown()) << "returned before the release";
        atReturn = strip();
        EXPECT_EQ(atReturn.topLeft(), start.topLeft() + (end - press));
        const QPoint fromArea = atReturn.topLeft() - area.topLeft();
        EXPECT_EQ(std::pair(form().Left(), form().Top()),
                  std::pair(fromArea.x() * 15.0f, fromArea.y() * 15.0f));
        m_flavors.InsideDeskTop();
    };

    // The press goes to whatever is under the pointer then: the strip, or its frame.
    xdotool(QStringLiteral("mousemove %1 %2").arg(press.x()).arg(press.y()));
    ASSERT_TRUE(waitUntil([&] {
        const auto p = reply(xcb_query_pointer_reply(x(), xcb_query_pointer(x(), root()), nullptr));
        return p && p->child == topLevel(stripId());
    })) << "strip at "
        << shown(strip());
    xdotool(QStringLiteral("mousedown 1"));
    ASSERT_TRUE(waitUntil([&] { return dragReturned; })) << "strip at " << shown(strip());
    mover.waitForFinished();

    // InsideDeskTop has put the left edge back on the desktop's.
    EXPECT_TRUE(waitUntil([&] { return strip().topLeft() == QPoint(area.x(), atReturn.y()); }))
        << "strip at " << strip().x() << "," << strip().y();
}

// Starts a strip as the application does and checks, each time, what the X
// server shows and that the twips hold what the code set. Half of the starts
// share one core with a busy thread.
TEST_F(StripOnX, EveryStartPutsTheStripWholeAtItsStandardPlaceAlsoOnALoadedCore) {
    const QRect area = desktop();
    const float deskWidth = static_cast<float>(m_flavors.DeskTopWidth());
    const float deskHeight = static_cast<float>(m_flavors.DeskTopHeight());
    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const std::jthread busy = round >= 8 ? std::jthread(spin) : std::jthread();
        auto csqc = std::make_shared<CSQCtrl>();
        std::shared_ptr<FormSQMain> form = csqc->Form();
        auto record = std::make_shared<CRForm>();
        record->SetFormName(form);
        CCtrlFlavors flavors;
        flavors.SetCRF(record);
        // Shown first and placed while the window manager takes it, or
        // placed in the same breath as shown.
        csqc->Show(*m_owner);
        if (round % 2 == 1)
            toolkit::DoEvents();
        form->SetWidth(deskWidth);
        flavors.Form2DPosition(pos2DBottomLeft);
        const auto placed = [&] { return acrossTheDesktop(idOf(*form), area.y() + area.height()); };
        EXPECT_TRUE(waitUntil(placed)) << "strip at " << shown(onScreen(idOf(*form)));
        // Once the window system has answered everything, the twips are
        // still exactly what was set, and the window has not moved since.
        EXPECT_TRUE(waitUntil([&] { return !form->GeometryOutstanding(); }));
        EXPECT_EQ(std::tuple(form->Left(), form->Width(), form->Top() + form->Height()),
                  std::tuple(0.0f, deskWidth, deskHeight));
        EXPECT_TRUE(placed());

        // Several requests in a row, the last one wins.
        form->Move(1500, 1500, 6000, form->Height());
        form->SetWidth(deskWidth / 2);
        flavors.Form2DPosition(pos2DCenter);
        form->SetWidth(deskWidth);
        flavors.Form2DPosition(pos2DBottomLeft);
        EXPECT_TRUE(waitUntil([&] { return placed() && !form->GeometryOutstanding(); }));
        EXPECT_FLOAT_EQ(form->Width(), deskWidth);
        csqc->Unload();
    }
}

// A window with a caption bar knows its frame before it is mapped, so that its client area is
// right from the first picture on; a fixed one gets no resize handle from openbox. It stands
// where its outer frame is put, with the frame counted in its Width and Height, however late
// the window manager frames it.
TEST_F(StripOnX, ATitledWindowIsPlacedByTheOuterFrameItKnowsBeforeItIsShown) {
    const QRect area = desktop();
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const std::jthread busy = round % 2 == 1 ? std::jthread(spin) : std::jthread();
        toolkit::WindowStyle style;
        style.Sizable = style.MaxButton = round < 2;
        auto panel = std::make_shared<toolkit::Window>(style);
        panel->Move(1500, 1500, 4500, 3000);
        // Asked for when the window was made; the answer comes before any map.
        const auto asked = [&] { return toolkit::FrameExtents(panel->NativeWidget()); };
        ASSERT_TRUE(waitUntil([&] { return asked().has_value() == withWindowManager(); }));
        const std::pair scale(panel->ScaleWidth(), panel->ScaleHeight());
        panel->Show();
        const QRect wanted(area.x() + 100, area.y() + 100, 300, 200);
        EXPECT_TRUE(waitUntil([&] { return outerOnScreen(idOf(*panel)) == wanted; }))
            << "outer frame at " << shown(outerOnScreen(idOf(*panel)));
        EXPECT_TRUE(waitUntil([&] { return !panel->GeometryOutstanding(); }));
        EXPECT_EQ(std::tuple(panel->Left(), panel->Top(), panel->Width(), panel->Height()),
                  std::tuple(1500.0f, 1500.0f, 4500.0f, 3000.0f));
        const QRect client = onScreen(idOf(*panel));
        EXPECT_EQ(std::pair(panel->ScaleWidth(), panel->ScaleHeight()), scale);
        EXPECT_EQ(scale, std::pair(client.width() * 15.0f, client.height() * 15.0f));

        // Moved and resized in one go, then collapsed, as the control panel does.
        panel->Move(3000, 750, 6000, 3000);
        panel->SetHeight(1500);
        const QRect moved(area.x() + 200, area.y() + 50, 400, 100);
        EXPECT_TRUE(waitUntil([&] { return outerOnScreen(idOf(*panel)) == moved; }))
            << "outer frame at " << shown(outerOnScreen(idOf(*panel)));
        EXPECT_TRUE(waitUntil([&] { return !panel->GeometryOutstanding(); }));
        EXPECT_EQ(std::tuple(panel->Left(), panel->Height()), std::tuple(3000.0f, 1500.0f));
        // A place beyond the 16 bits the server holds stops at their end instead of wrapping.
        if (!withWindowManager()) {
            panel->SetLeft(9.0e8f);
            EXPECT_TRUE(waitUntil([&] { return onScreen(idOf(*panel)).x() == INT16_MAX; }))
                << "at " << shown(onScreen(idOf(*panel)));
        }
    }
}

// weston frames a window and moves the frame without telling the window
// where it now stands. The window still follows: Qt opens its menus from
// the place the X server has, and Left and Top are the frame's.
TEST_F(StripOnX, AFrameMovedWithoutAReportStillMovesTheWindow) {
    if (withWindowManager())
        GTEST_SKIP() << "the test frames the window itself";
    auto panel = titled("vorn2 reframed", 1500, 1500, 4500, 3000);
    ASSERT_TRUE(waitUntil([&] { return !panel->GeometryOutstanding(); }));
    const xcb_window_t id = idOf(*panel);
    const xcb_window_t frame = xcb_generate_id(x());
    xcb_create_window(x(), XCB_COPY_FROM_PARENT, frame, root(), 0, 0, 340, 240, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_reparent_window(x(), id, frame, 10, 20);
    xcb_map_window(x(), frame);
    const auto believed = [&] { return panel->NativeWidget()->mapToGlobal(QPoint(0, 0)); };
    for (const QPoint place : {QPoint(0, 0), QPoint(200, 150)}) {
        const uint32_t xy[] = {static_cast<uint32_t>(place.x()), static_cast<uint32_t>(place.y())};
        xcb_configure_window(x(), frame, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, xy);
        xcb_flush(x());
        EXPECT_TRUE(waitUntil([&] { return believed() == place + QPoint(10, 20); }))
            << "Qt has the window at " << believed().x() << "," << believed().y();
        EXPECT_TRUE(waitUntil([&] { return panel->Left() == place.x() * 15.0f; }))
            << "Left " << panel->Left();
        EXPECT_FLOAT_EQ(panel->Top(), place.y() * 15.0f);
    }
    xcb_reparent_window(x(), id, root(), 0, 0);
    xcb_destroy_window(x(), frame);
    xcb_flush(x());
}

} // namespace

// On the display run_e2e.sh started, which also reports the skip where there is none.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    const testsupport::ScopedYieldPeriod period(10ms);
    return RUN_ALL_TESTS();
}
