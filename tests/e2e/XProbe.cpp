#include "XProbe.h"

#include <QApplication>
#include <gtest/gtest.h>

#include "toolkit/Events.h"

#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <chrono>
#include <climits>

namespace xprobe {

using namespace std::chrono_literals;

QString unavailableReason() {
    const QString reason = qEnvironmentVariable("VORN_E2E_UNAVAILABLE");
    if (!reason.isEmpty())
        return reason;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return QStringLiteral("DISPLAY is not set");
    return {};
}

bool withWindowManager() {
    return qEnvironmentVariable("VORN_E2E_WM") == QStringLiteral("wm");
}

QString run(const QString& program, const QStringList& args) {
    // A window is made only when it is first mapped; until then it has no
    // id, and xwininfo or xprop given none would wait for a click.
    if (const qsizetype i = args.indexOf(QStringLiteral("-id")); i >= 0 && args.value(i + 1) == QStringLiteral("0"))
        return {};
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

bool waitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        toolkit::DoEvents();
    }
    return true;
}

int field(const QString& text, const QString& name) {
    const QRegularExpression re(QRegularExpression::escape(name) + QStringLiteral(":\\s*(-?\\d+)"));
    const auto m = re.match(text);
    return m.hasMatch() ? m.captured(1).toInt() : INT_MIN;
}

QRect onScreen(uint64_t id) {
    const QString out =
        run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(id)});
    return {field(out, QStringLiteral("Absolute upper-left X")),
            field(out, QStringLiteral("Absolute upper-left Y")),
            field(out, QStringLiteral("Width")), field(out, QStringLiteral("Height"))};
}

QRect outerOnScreen(uint64_t id) {
    const QRect client = onScreen(id);
    const QString out = run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(id),
                                                      QStringLiteral("_NET_FRAME_EXTENTS")});
    const auto m =
        QRegularExpression(QStringLiteral("=\\s*(\\d+), (\\d+), (\\d+), (\\d+)")).match(out);
    if (!m.hasMatch())
        return client;
    // left, right, top, bottom
    return client.marginsAdded(QMargins(m.captured(1).toInt(), m.captured(3).toInt(),
                                        m.captured(2).toInt(), m.captured(4).toInt()));
}

QRect workArea() {
    if (withWindowManager()) {
        const QString out = run(QStringLiteral("xprop"),
                                {QStringLiteral("-root"), QStringLiteral("_NET_WORKAREA")});
        const auto m =
            QRegularExpression(QStringLiteral("=\\s*(\\d+), (\\d+), (\\d+), (\\d+)")).match(out);
        if (m.hasMatch())
            return {m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                    m.captured(4).toInt()};
        return {};
    }
    const QString out = run(QStringLiteral("xwininfo"), {QStringLiteral("-root")});
    return {0, 0, field(out, QStringLiteral("Width")), field(out, QStringLiteral("Height"))};
}

bool staysOnTop(uint64_t id) {
    return run(QStringLiteral("xprop"),
               {QStringLiteral("-id"), QString::number(id), QStringLiteral("_NET_WM_STATE")})
        .contains(QStringLiteral("_NET_WM_STATE_ABOVE"));
}

QList<uint64_t> stacking() {
    QList<uint64_t> ids;
    if (withWindowManager()) {
        const QString out =
            run(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
        auto it = QRegularExpression(QStringLiteral("0x([0-9a-fA-F]+)")).globalMatch(out);
        while (it.hasNext())
            ids << it.next().captured(1).toULongLong(nullptr, 16);
    } else {
        const QString out =
            run(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-children")});
        auto it = QRegularExpression(QStringLiteral("(?m)^\\s+0x([0-9a-fA-F]+) ")).globalMatch(out);
        while (it.hasNext())
            ids << it.next().captured(1).toULongLong(nullptr, 16);
        // XQueryTree lists the children bottom first; xwininfo prints them top first.
        std::reverse(ids.begin(), ids.end());
    }
    return ids;
}

std::string shown(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .toStdString();
}

} // namespace xprobe

int xprobe::RunOnDisplay(int argc, char** argv, const std::function<void()>& prepare) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!unavailableReason().isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    prepare();
    return RUN_ALL_TESTS();
}
