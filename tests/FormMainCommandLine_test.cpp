#include "PanelFixture.h"
#include "app/FormMain.h"
#include "toolkit/HttpFetch.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// What the command line hands the panel, through the real fetch: the panel as Main starts
// it, with a hook that stops the scroll after a few steps. A file from the command line
// takes the same way as one from the Local dialog, tested with the text sources.
class PanelOverHttp : public PanelFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        PanelFixture::SetUp();
        onYield = [this] {
            if (yields == 3)
                csqc().Scroll(false, QString());
        };
    }
    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(m_dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    QTemporaryDir m_dir;
};

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

TEST_F(PanelOverHttp, aWebAddressIsFetchedCleanedScrolledAndEnablesWebReload) {
    OnePageServer server("<p>Hello</p>\r\n<i>Web</i> ニュース");
    panel->OpenWebAddress(server.Address());
    EXPECT_GT(yields, 0) << "the page was not scrolled";
    EXPECT_EQ(panel->Controller()->Segments(), QStringList{QStringLiteral("Hello Web ニュース")});
    EXPECT_TRUE(panel->mnuFileWebReload().Enabled());
    EXPECT_FALSE(panel->mnuFileLocalReload().Enabled());
}

TEST_F(PanelOverHttp, aFailedFetchRaisesAndLeavesWebReloadAndTheTextAlone) {
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
