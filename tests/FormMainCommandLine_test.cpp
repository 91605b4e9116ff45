#include "app/FormMain.h"
#include "app/ModuleMain.h"
#include "toolkit/Events.h"
#include "toolkit/HttpFetch.h"
#include "toolkit/Lifecycle.h"
#include "toolkit/Prompts.h"

#include <QCoreApplication>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

using namespace toolkit;

namespace {

// The panel as Main starts it, given a file from the command line: scripted prompts,
// unpaced yields and a hook that stops the scroll after a few steps.
class PanelWithFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        SetYieldPeriod(std::chrono::nanoseconds::zero());
        prompts = std::make_shared<ScriptedPrompts>();
        SetPrompts(prompts);
        SetEndHook([] {});
        SetYieldHook([this] {
            if (++yields == 3)
                panel->Controller()->Scroll(false, QString());
        });
        ModuleMain::Main();
        ASSERT_EQ(FormMain::LoadedPanels().size(), 1u);
        panel = FormMain::LoadedPanels().front();
    }
    void TearDown() override {
        for (const auto& p : FormMain::LoadedPanels())
            p->UnloadWithoutQuery();
        panel.reset();
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        SetYieldHook({});
        SetEndHook({});
        SetPrompts({});
    }
    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(m_dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    QTemporaryDir m_dir;
    std::shared_ptr<FormMain> panel;
    std::shared_ptr<ScriptedPrompts> prompts;
    int yields = 0;
};

} // namespace

TEST_F(PanelWithFile, aReadableFileIsCleanedScrolledAndEnablesLocalReload) {
    const QString path = write(QStringLiteral("news.txt"), "Hello\r\n<b>World</b>");
    panel->OpenLocalFile(path);
    EXPECT_GT(yields, 0) << "the text was not scrolled";
    EXPECT_EQ(panel->Controller()->Segments(), QStringList{QStringLiteral("Hello World")});
    EXPECT_TRUE(panel->mnuFileLocalReload().Enabled());
    EXPECT_FALSE(panel->mnuFileWebReload().Enabled());
    EXPECT_TRUE(prompts->shown.empty());
}

TEST_F(PanelWithFile, aDamagedFileIsReportedAndChangesNothingElse) {
    panel->OpenLocalFile(write(QStringLiteral("first.txt"), "first text"));
    yields = 0;
    // The reload item is enabled by the first file and stays; the text stays the first one.
    panel->OpenLocalFile(write(QStringLiteral("damaged.txt"), "binary\x1A data"));
    EXPECT_EQ(yields, 0) << "a damaged file started the scroll";
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].prompt, QStringLiteral("ファイルがバイナリか、破損しています。"));
    EXPECT_EQ(prompts->shown[0].buttons, vbOKOnly);
    EXPECT_EQ(prompts->shown[0].title, QStringLiteral("vorn2"));
    EXPECT_EQ(panel->Controller()->Segments(), QStringList{QStringLiteral("first text")});
    EXPECT_TRUE(panel->mnuFileLocalReload().Enabled());
}

TEST_F(PanelWithFile, aDamagedFirstFileLeavesLocalReloadDisabled) {
    panel->OpenLocalFile(write(QStringLiteral("damaged.txt"), QByteArray("a\x1A", 2)));
    EXPECT_EQ(prompts->shown.size(), 1u);
    EXPECT_FALSE(panel->mnuFileLocalReload().Enabled());
    EXPECT_TRUE(panel->Controller()->Segments().isEmpty());
}

namespace {

// Answers every request on 127.0.0.1 with one page.
class OnePageServer {
public:
    explicit OnePageServer(QByteArray page) : m_page(std::move(page)) {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            QTcpSocket* socket = m_server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                if (!socket->readAll().contains("\r\n\r\n"))
                    return;
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                              "Content-Length: " + QByteArray::number(m_page.size()) +
                              "\r\nConnection: close\r\n\r\n" + m_page);
                socket->disconnectFromHost();
            });
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QString Address() const {
        return QStringLiteral("http://127.0.0.1:%1/news.html").arg(m_server.serverPort());
    }

private:
    QTcpServer m_server;
    QByteArray m_page;
};

} // namespace

TEST_F(PanelWithFile, aWebAddressIsFetchedCleanedScrolledAndEnablesWebReload) {
    OnePageServer server("<p>Hello</p>\r\n<i>Web</i> ニュース");
    panel->OpenWebAddress(server.Address());
    EXPECT_GT(yields, 0) << "the page was not scrolled";
    EXPECT_EQ(panel->Controller()->Segments(), QStringList{QStringLiteral("Hello Web ニュース")});
    EXPECT_TRUE(panel->mnuFileWebReload().Enabled());
    EXPECT_FALSE(panel->mnuFileLocalReload().Enabled());
}

TEST_F(PanelWithFile, aFailedFetchRaisesAndLeavesWebReloadAndTheTextAlone) {
    // A port that was just free: nothing listens there.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    panel->OpenLocalFile(write(QStringLiteral("first.txt"), "first text"));
    yields = 0;
    EXPECT_THROW(panel->OpenWebAddress(QStringLiteral("http://127.0.0.1:%1/").arg(port)),
                 toolkit::FetchError);
    EXPECT_EQ(yields, 0);
    EXPECT_FALSE(panel->mnuFileWebReload().Enabled());
    EXPECT_EQ(panel->Controller()->Segments(), QStringList{QStringLiteral("first text")});
}
