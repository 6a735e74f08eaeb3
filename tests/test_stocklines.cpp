#include <QTest>

#include <optional>
#include <string>
#include <vector>

#include "StockLines.h"

using namespace revlane;

Q_DECLARE_METATYPE(std::optional<int>)

// The stock lines of both games and both files that Revlane carries, and their lookups.
class TestStockLines : public QObject {
    Q_OBJECT
    DefaultLines stock;

private slots:
    void initTestCase() { stock.Load(); }

    // Which keys hold a line and which stay empty (-1 and 401 lie outside), how many lines each
    // game's file range holds, that no line kept a tab, and that every line is found under its own
    // model id or identifier, in its own game only.
    void keysAndRanges()
    {
        const auto in = [](int key, int first, int last) { return key >= first && key <= last; };
        std::vector<int> counts(4);
        for (int key = -1; key <= DefaultLines::Count; ++key) {
            const std::string& line = stock.Entry(key);
            const bool filled = in(key, 1, 58) || key == 60 || key == 61 || in(key, 69, 126) || in(key, 130, 228)
                                || in(key, 239, 352) || key == 400;
            QVERIFY2(line.empty() != filled && line.find('\t') == std::string::npos, qPrintable(QString::number(key)));
            for (const Game game : {Game::Gta3, Game::ViceCity}) {
                const auto ide = DefaultLines::DefaultIdeKeys(game), cfg = DefaultLines::HandlingKeys(game);
                const Game other = game == Game::Gta3 ? Game::ViceCity : Game::Gta3;
                if (!line.empty() && in(key, ide.first, ide.last)) {
                    ++counts[game == Game::Gta3 ? 0 : 2];
                    const int id = *DefaultLines::DefaultIdeModelId(line);
                    QCOMPARE(stock.DefaultIdeLine(game, id), std::optional<std::string>(line));
                    QVERIFY(stock.DefaultIdeLine(other, id) != std::optional<std::string>(line));
                }
                if (!line.empty() && in(key, cfg.first, cfg.last)) {
                    ++counts[game == Game::Gta3 ? 1 : 3];
                    const std::string id = DefaultLines::HandlingIdentifier(line);
                    QVERIFY2(!id.empty() && id.size() <= 14 && stock.HandlingLine(game, id) == line, line.c_str());
                }
            }
        }
        QCOMPARE(counts, (std::vector<int>{61, 57, 107, 106}));
        QCOMPARE(stock.Entry(400), std::string("Id"));
    }

    // Telling lookups: the model ids whose keys are out of step, the identifier fields that hold
    // more than a name, case, a part of a name, another game's vehicle, a caption.
    void lookups_data()
    {
        QTest::addColumn<Game>("game");
        QTest::addColumn<QString>("key");  // a model id, or an identifier
        QTest::addColumn<int>("found");    // the key of the line found; 0: none
        const Game g3 = Game::Gta3, vc = Game::ViceCity;
        QTest::newRow("gta3 148") << g3 << "148" << 69;
        QTest::newRow("vc 229") << vc << "229" << 239;
        QTest::newRow("vc 236") << vc << "236" << 246;
        QTest::newRow("gta3 200") << g3 << "200" << 0;
        QTest::newRow("vc 90") << vc << "90" << 0;
        QTest::newRow("RIO") << vc << "RIO" << 329;
        QTest::newRow("HUNTER") << vc << "HUNTER" << 342;
        QTest::newRow("RIO's whole field") << vc << "RIO          30" << 0;
        QTest::newRow("vc BORGNINE") << vc << "BORGNINE" << 0;
        QTest::newRow("caption") << vc << "Id" << 0;
        QTest::newRow("lower case") << g3 << "landstal" << 0;
        QTest::newRow("a part") << g3 << "LANDSTA" << 0;
        QTest::newRow("gta3 RIO") << g3 << "RIO" << 0;
        QTest::newRow("empty") << g3 << "" << 0;
    }
    void lookups()
    {
        QFETCH(Game, game);
        QFETCH(QString, key);
        QFETCH(int, found);
        const std::optional<int> id = ReadWholeNumber(key.toStdString());
        const std::optional<std::string> line = id ? stock.DefaultIdeLine(game, *id) : stock.HandlingLine(game, key.toStdString());
        QCOMPARE(line, found ? std::optional<std::string>(stock.Entry(found)) : std::nullopt);
    }

    void readWholeNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<int>>("number");
        const std::optional<int> none;
        QTest::newRow("blanks anywhere, stops at comma") << " \t09 5, x" << std::optional<int>(95);
        QTest::newRow("sign") << "-7" << std::optional<int>(-7);
        QTest::newRow("whole fraction") << "95.0" << std::optional<int>(95);
        QTest::newRow("fraction") << "95.5" << none;
        QTest::newRow("no digits") << "+." << none;
        QTest::newRow("largest") << "999999999" << std::optional<int>(999999999);
        QTest::newRow("too large") << "1000000000" << none;
    }
    void readWholeNumber()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<int>, number);
        QCOMPARE(ReadWholeNumber(text.toStdString()), number);
    }
};

QTEST_GUILESS_MAIN(TestStockLines)
#include "test_stocklines.moc"
