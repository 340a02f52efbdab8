// Exact money: rounding halves to even, scaled integers, parsing and display patterns.
#include "db/decimal.h"
#include <QTest>

using db::Decimal;
Q_DECLARE_METATYPE(Decimal)

class TstDecimal : public QObject {
    Q_OBJECT
private slots:
    void multiplyRoundsHalfToEven_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("product");
        QTest::newRow("35.83125 -> even down") << "358.3125" << "0.1" << "35.8312";
        QTest::newRow("0.000075 rounds up") << "0.0015" << "0.0500" << "0.0001";
        QTest::newRow("0.00015 -> 0.0002") << "0.0003" << "0.5" << "0.0002";
        QTest::newRow("0.00025 -> 0.0002") << "0.0005" << "0.5" << "0.0002";
        QTest::newRow("negative half") << "-0.0005" << "0.5" << "-0.0002";
        QTest::newRow("above half rounds up") << "0.0003" << "0.51" << "0.0002";
        QTest::newRow("tax 22%") << "176.75" << "0.22" << "38.8850";
        QTest::newRow("tax 22% rounding") << "322.4813" << "0.22" << "70.9459";
    }
    void multiplyRoundsHalfToEven()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, product);
        Decimal r = *Decimal::parse(a) * *Decimal::parse(b);
        QCOMPARE(r.toString(4), product);
    }

    void divideAndRound()
    {
        QCOMPARE((*Decimal::parse("5") / 100).toString(), QString("0.0500"));
        QCOMPARE((*Decimal::parse("1") / 3).toString(), QString("0.3333"));
        QCOMPARE((*Decimal::parse("2") / 3).toString(), QString("0.6667"));
        QCOMPARE(Decimal::fromUnits(5).rounded(3).toString(), QString("0.0000"));   // 0.0005 -> 0.000 (even)
        QCOMPARE(Decimal::fromUnits(15).rounded(3).toString(), QString("0.0020"));
        QCOMPARE(Decimal::parse("2.5")->roundToInteger(), 2);
        QCOMPARE(Decimal::parse("3.5")->roundToInteger(), 4);
        QCOMPARE(Decimal::parse("0.5")->roundToInteger(), 0);
    }

    void scaledIntegers()
    {
        // NUMERIC(18,2) arrives as an integer scaled by 10^-2
        QCOMPARE(Decimal::fromScaled(12345, -2).toString(), QString("123.4500"));
        QCOMPARE(Decimal::fromScaled(-5, -2).toString(), QString("-0.0500"));
        QCOMPARE(Decimal::fromScaled(123456789, -6).toString(), QString("123.4568"));
        QCOMPARE(Decimal::parse("123.4550")->toScaled(-2), 12346);   // half to even: 12345.5 -> 12346
        QCOMPARE(Decimal::parse("123.4450")->toScaled(-2), 12344);
        QCOMPARE(Decimal::parse("-1.005")->toScaled(-2), -100);
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("value");
        QTest::newRow("integer") << "1000" << true << "1000.0000";
        QTest::newRow("decimals") << "12.5" << true << "12.5000";
        QTest::newRow("negative") << "-0.25" << true << "-0.2500";
        QTest::newRow("fifth digit half even") << "0.00005" << true << "0.0000";
        QTest::newRow("fifth digit half odd") << "0.00015" << true << "0.0002";
        QTest::newRow("letters") << "12a" << false << "";
        QTest::newRow("empty") << "" << false << "";
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(QString, value);
        auto d = Decimal::parse(text);
        QCOMPARE(bool(d), ok);
        if (ok) QCOMPARE(d->toString(), value);
    }

    void displayPatterns()
    {
        QLocale hr(QLocale::Croatian, QLocale::Croatia);
        QCOMPARE(Decimal::parse("1234567.891")->format("###,###,##0.00", hr), QString("1.234.567,89"));
        QCOMPARE(Decimal::parse("0.005")->format("###,###,##0.00", hr), QString("0,00"));   // half to even
        QCOMPARE(Decimal::parse("-12.5")->format("###,###,##0.00", hr), QString("-12,50"));
        QCOMPARE(db::formatInteger(1234567, "###,###,##0", hr), QString("1.234.567"));
        QLocale c(QLocale::C);
        QCOMPARE(Decimal::parse("1234.5")->format("###,###,##0.00", c), QString("1,234.50"));
        QCOMPARE(Decimal::parse("1234.5")->format("0.00", c), QString("1234.50"));
        QCOMPARE(Decimal::parseLocale("1.234,56", hr)->toString(2), QString("1234.56"));
    }
};

QTEST_GUILESS_MAIN(TstDecimal)
#include "tst_decimal.moc"
