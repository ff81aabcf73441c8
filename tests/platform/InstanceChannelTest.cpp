// The socket over which a second copy hands a template to the running one.
#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <future>

#include "platform/InstanceChannel.h"
#include "support/Files.h"

namespace zw::test {
namespace {

// Sends from another thread, as a second process would, while this one answers in its event loop.
bool sendAndServe(const InstanceChannel& channel, const QString& path) {
    std::future<bool> sent = std::async(std::launch::async, [&] { return channel.send(path, 5000); });
    QDeadlineTimer deadline(10000);
    while (sent.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return sent.get();
}

TEST(InstanceChannel, PathsThatArriveBeforeAnyoneListensAreKeptNotLost) {
    TempFolder folder;
    InstanceChannel running(u"Zettelwerk"_qs, folder.path());
    const InstanceChannel second(u"Zettelwerk"_qs, folder.path());
    ASSERT_TRUE(running.listen());

    // The window is still starting: the receipt goes out, the path waits.
    ASSERT_TRUE(sendAndServe(second, u"/home/a/Erste.nld"_qs));
    ASSERT_TRUE(sendAndServe(second, u"/home/a/Zweite.nld"_qs));
    EXPECT_EQ(running.takeEarlyPaths(), QStringList({u"/home/a/Erste.nld"_qs, u"/home/a/Zweite.nld"_qs}));
    EXPECT_EQ(running.takeEarlyPaths(), QStringList());

    QStringList received;
    QObject::connect(&running, &InstanceChannel::pathReceived, [&](const QString& p) { received.append(p); });
    ASSERT_TRUE(sendAndServe(second, u"/home/a/Dritte.nld"_qs));
    QDeadlineTimer deadline(5000);
    while (received.isEmpty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(received, QStringList{u"/home/a/Dritte.nld"_qs});
    EXPECT_EQ(running.takeEarlyPaths(), QStringList());
}

}  // namespace
}  // namespace zw::test
