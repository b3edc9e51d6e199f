#include "base/Result.h"

#include <QTest>
#include <memory>

namespace {

// An error that also points at a line, as a file reader gives it.
struct LineError {
    int line = 0;
    QString what;
};

Result<QString> text(bool good)
{
    if (!good)
        return Failure{QStringLiteral("Cannot read \"x\": no such file.")};
    return QStringLiteral("read");
}

Result<void> done(bool good)
{
    if (!good)
        return Failure{QStringLiteral("not done")};
    return {};
}

} // namespace

class TestPlatform : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void resultHoldsAValueOrAnError();
    void resultWithoutAValue();
    void resultWithAnErrorOfItsOwnType();
};

void TestPlatform::resultHoldsAValueOrAnError()
{
    const Result<QString> good = text(true);
    QVERIFY(good.ok());
    QCOMPARE(good.value(), QStringLiteral("read"));
    QCOMPARE(good.error(), QString());
    // A text error is never taken for a text value.
    const Result<QString> bad = text(false);
    QVERIFY(!bad.ok());
    QCOMPARE(bad.error(), QStringLiteral("Cannot read \"x\": no such file."));
    QCOMPARE(bad.valueOr(QStringLiteral("fallback")), QStringLiteral("fallback"));
    QCOMPARE(good.valueOr(QStringLiteral("fallback")), QStringLiteral("read"));
    // A value that can only move comes out whole.
    Result<std::unique_ptr<int>> owned = std::make_unique<int>(7);
    const std::unique_ptr<int> taken = std::move(owned).value();
    QVERIFY(taken);
    QCOMPARE(*taken, 7);
}

void TestPlatform::resultWithoutAValue()
{
    QVERIFY(done(true).ok());
    QCOMPARE(done(true).error(), QString());
    QVERIFY(!done(false).ok());
    QCOMPARE(done(false).error(), QStringLiteral("not done"));
}

void TestPlatform::resultWithAnErrorOfItsOwnType()
{
    const Result<int, LineError> bad = Failure{LineError{12, QStringLiteral("no answer")}};
    QVERIFY(!bad.ok());
    QCOMPARE(bad.error().line, 12);
    QCOMPARE(bad.error().what, QStringLiteral("no answer"));
    const Result<int, LineError> good = 3;
    QCOMPARE(good.value(), 3);
    QCOMPARE(good.error().line, 0);
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
