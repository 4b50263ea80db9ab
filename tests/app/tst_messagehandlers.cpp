#include "AppLogging.h"
#include "ApplicationStartup.h"
#include "EngineLogging.h"
#include "ViewsLogging.h"

#include <QtTest>

#include <cstdio>
#include <unistd.h>

Q_DECLARE_METATYPE(QtMsgType)

namespace {

constexpr QtMsgType UnknownType = QtMsgType(QtInfoMsg + 1);

// Everything the code writes to standard error while it runs.
template<typename Code>
QByteArray standardErrorOf(Code code)
{
    QTemporaryFile capture;
    if (!capture.open())
        return "cannot capture";
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(capture.handle(), STDERR_FILENO);
    code();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    capture.seek(0);
    return capture.readAll();
}

} // namespace

// The two message handlers that the program provides for Qt's message hook.
class TestMessageHandlers : public QObject
{
    Q_OBJECT

private slots:
    void lines_data()
    {
        QTest::addColumn<QtMsgType>("type");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("withContext");
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("coloured");
        const QString trace = QStringLiteral("void f(int) | Line : 12 : $x#");
        QTest::newRow("debug") << QtDebugMsg << trace << true
                               << QByteArray("Debug: void f(int) | Line : 12 : $x# (main.cpp:12, void f(int))\n")
                               << QByteArray("\033[32mDebug\033[36m: void f(int) \033[0m:  Line : 12 : $x#\n");
        QTest::newRow("warning") << QtWarningMsg << trace << true
                                 << QByteArray("Warning: void f(int) | Line : 12 : $x# (main.cpp:12, void f(int))\n")
                                 << QByteArray("\033[33mWarning\033[0m:  Line : 12 : $x#\n");
        QTest::newRow("critical") << QtCriticalMsg << QStringLiteral("disk full") << true
                                  << QByteArray("Critical: disk full (main.cpp:12, void f(int))\n")
                                  << QByteArray("\033[35mCritical\033[0m: disk full\n");
        QTest::newRow("fatal") << QtFatalMsg << QStringLiteral("gone") << true
                               << QByteArray("Fatal: gone (main.cpp:12, void f(int))\n")
                               << QByteArray("\033[31mFatal\033[0m: gone\n");
        QTest::newRow("info") << QtInfoMsg << QStringLiteral("ab|c") << true
                              << QByteArray("Info: ab|c (main.cpp:12, void f(int))\n")
                              << QByteArray("\033[36mInfo\033[0m: c\n");
        QTest::newRow("no context") << QtDebugMsg << QStringLiteral("plain") << false
                                    << QByteArray("Debug: plain (:0, )\n")
                                    << QByteArray("\033[32mDebug\033[36m\033[0m: plain\n");
        QTest::newRow("bar at index 4") << QtDebugMsg << QStringLiteral("abcd|rest|more") << false
                                        << QByteArray("Debug: abcd|rest|more (:0, )\n")
                                        << QByteArray("\033[32mDebug\033[36m: abcd\033[0m: rest|more\n");
        QTest::newRow("bar at index 0") << QtDebugMsg << QStringLiteral("|whole") << false
                                        << QByteArray("Debug: |whole (:0, )\n")
                                        << QByteArray("\033[32mDebug\033[36m\033[0m: |whole\n");
        QTest::newRow("bar at index 0 of a warning") << QtWarningMsg << QStringLiteral("|whole") << false
                                                     << QByteArray("Warning: |whole (:0, )\n")
                                                     << QByteArray("\033[33mWarning\033[0m: |whole\n");
        QTest::newRow("unknown type") << UnknownType << trace << true << QByteArray() << QByteArray();
    }

    void lines()
    {
        QFETCH(QtMsgType, type);
        QFETCH(QString, message);
        QFETCH(bool, withContext);
        const QMessageLogContext context = withContext ? QMessageLogContext("main.cpp", 12, "void f(int)", "orvanta.app")
                                                       : QMessageLogContext();
        QTEST(messageOutputLine(type, context, message), "plain");
        QTEST(errorHandlerLine(type, context, message), "coloured");
    }

    // Both handlers write their lines to standard error, a fatal message included, and go on.
    void handlersWriteToStandardError()
    {
        const QMessageLogContext context("main.cpp", 7, "int main()", "default");
        const QByteArray written = standardErrorOf([&] {
            myMessageOutput(QtFatalMsg, context, QStringLiteral("end"));
            errorHandler(QtDebugMsg, context, QStringLiteral("ctx|text"));
            myMessageOutput(UnknownType, context, QStringLiteral("none"));
            errorHandler(UnknownType, context, QStringLiteral("none"));
        });
        QCOMPARE(written, QByteArray("Fatal: end (main.cpp:7, int main())\n\033[32mDebug\033[36m: ctx\033[0m: text\n"));
    }

    // The program's traces stay quiet until a logging rule asks for them.
    void tracesOffUntilSwitchedOn()
    {
        const QList<const QLoggingCategory *> categories{&lcApp(), &lcEngine(), &lcViews()};
        for (const QLoggingCategory *category : categories)
            QVERIFY2(!category->isDebugEnabled() && category->isInfoEnabled(), category->categoryName());
        QLoggingCategory::setFilterRules(QStringLiteral("orvanta.*.debug=true"));
        for (const QLoggingCategory *category : categories)
            QVERIFY2(category->isDebugEnabled(), category->categoryName());
        QLoggingCategory::setFilterRules(QString());
        QVERIFY(!lcEngine().isDebugEnabled());
    }
};

QTEST_GUILESS_MAIN(TestMessageHandlers)
#include "tst_messagehandlers.moc"
