// Reads a 10 MB HTML page (60 000 stories: 240 000 elements, with links, scripts, comments
// and character references) the way a fetched page is read, and prints how long the text took
// and the longest time a 5 ms timer had to wait meanwhile. Then the real panel fetches the
// same page from a server on 127.0.0.1 through its Web command (fetch, decoding, reading
// and hand-over) and the same two figures are printed for that whole load.
#include "app/FormMain.h"
#include "app/ModuleMain.h"
#include "toolkit/Events.h"
#include "toolkit/Lifecycle.h"
#include "app/WebText.h"
#include "toolkit/WorkYield.h"

#include <QApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

QByteArray page(qsizetype bytes) {
    const QByteArray unit =
        "<div class=\"story\"><p>The quick brown fox &amp; the <a href=\"/x\">lazy</a> dog "
        "caf&eacute;&nbsp;&#8217;</p><!-- note > here --><script>if (a < b) f();</script>"
        "</div>\r\n";
    QByteArray out = "<!DOCTYPE html><html><head><title>Bench</title></head><body>";
    while (out.size() < bytes)
        out += unit;
    return out + "</body></html>";
}

// Serves one page to every request.
class PageServer : public QTcpServer {
public:
    explicit PageServer(QByteArray body) : m_body(std::move(body)) { listen(QHostAddress::LocalHost); }

protected:
    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            if (!socket->readAll().contains("\r\n\r\n"))
                return;
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                          "Connection: close\r\nContent-Length: " +
                          QByteArray::number(m_body.size()) + "\r\n\r\n" + m_body);
            socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

private:
    QByteArray m_body;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QByteArray body = page(10 * 1000 * 1000);
    const QString text = QString::fromUtf8(body);

    Clock::time_point lastTick;
    Clock::duration longestGap{};
    bool measuring = false;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        if (measuring)
            longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
    });
    ticker.start();
    auto measure = [&](const std::function<void()>& work) {
        longestGap = {};
        lastTick = Clock::now();
        measuring = true;
        const auto t0 = Clock::now();
        work();
        const auto took = Clock::now() - t0;
        measuring = false;
        longestGap = std::max(longestGap, Clock::now() - lastTick);
        return took;
    };

    toolkit::SetEndHook([] {});
    PageServer server(body);
    QTimer::singleShot(50, [&] {
        QString extracted;
        const auto took = measure([&] {
            toolkit::WorkYield yield;
            extracted = WebText::HtmlText(text, yield);
        });
        std::printf("page: %.1f MB, %lld characters of text; extraction %.0f ms, longest gap "
                    "between the 5 ms timer's ticks %.0f ms\n",
                    body.size() / 1e6, static_cast<long long>(extracted.size()), ms(took),
                    ms(longestGap));

        ModuleMain::Main();
        const auto panel = FormMain::LoadedPanels().front();
        const auto csqc = panel->Controller();
        Clock::duration gapUntilScroll{};
        int steps = 0;
        toolkit::SetYieldHook([&] {
            if (!csqc->Fuel())
                return;
            if (steps++ == 0)
                gapUntilScroll = std::max(longestGap, Clock::now() - lastTick);
            if (steps == 200)
                csqc->Scroll(false, QString());
        });
        const auto whole = measure([&] {
            panel->OpenWebAddress(QStringLiteral("http://127.0.0.1:%1/page").arg(server.serverPort()));
        });
        std::printf("Web command from a local server: fetch, read and hand-over %.0f ms in all "
                    "(with 200 steps); longest gap between the timer's ticks %.0f ms; %d "
                    "segments\n",
                    ms(whole), ms(gapUntilScroll), csqc->SegmentCount());
        std::fflush(stdout);
        std::_Exit(0);
    });
    return app.exec();
}
