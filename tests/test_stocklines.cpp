#include <QTest>

#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "StockLines.h"

using namespace revlane;

Q_DECLARE_METATYPE(std::optional<int>)

class TestStockLines : public QObject {
    Q_OBJECT

    DefaultLines stock;

private slots:
    void initTestCase() { stock.Load(); }

    // Which keys hold a line and which stay empty (-1 and 401 lie outside), how many lines
    // each game's file range holds, and that no line kept a tab.
    void keysAndRanges()
    {
        const auto in = [](int key, int first, int last) { return key >= first && key <= last; };
        const DefaultLines::KeyRange ranges[] = {
            DefaultLines::DefaultIdeKeys(Game::Gta3), DefaultLines::HandlingKeys(Game::Gta3),
            DefaultLines::DefaultIdeKeys(Game::ViceCity), DefaultLines::HandlingKeys(Game::ViceCity)};
        std::vector<int> counts(4);
        for (int key = -1; key <= DefaultLines::Count; ++key) {
            const std::string& line = stock.Entry(key);
            const bool filled = in(key, 1, 58) || key == 60 || key == 61 || in(key, 69, 126) || in(key, 130, 228)
                                || in(key, 239, 352) || key == 400;
            QVERIFY2(line.empty() != filled, qPrintable(QString("key %1").arg(key)));
            QVERIFY2(line.find('\t') == std::string::npos, qPrintable(QString("tab in key %1").arg(key)));
            for (size_t r = 0; r < 4; ++r)
                counts[r] += !line.empty() && in(key, ranges[r].first, ranges[r].last);
        }
        QCOMPARE(counts, (std::vector<int>{61, 57, 107, 106}));
        QCOMPARE(stock.Entry(400), std::string("Id"));
    }

    // Each default.ide line is found by its own model id, under the key that the id gives:
    // GTA III's 148 sits at key 69, Vice City's 229 to 236 at keys 239 to 246.
    void defaultIdeLookup()
    {
        for (const Game game : {Game::Gta3, Game::ViceCity}) {
            const bool gta3 = game == Game::Gta3;
            const auto keys = DefaultLines::DefaultIdeKeys(game);
            std::set<int> ids;
            for (int key = keys.first; key <= keys.last; ++key) {
                const std::string& line = stock.Entry(key);
                if (line.empty())
                    continue;
                const std::optional<int> id = DefaultLines::DefaultIdeModelId(line);
                QVERIFY2(id && ids.insert(*id).second, line.c_str());
                QCOMPARE(key, gta3 ? (*id == 148 ? 69 : *id - 89) : (*id >= 229 ? *id + 10 : *id));
                QCOMPARE(stock.DefaultIdeLine(game, *id), std::optional<std::string>(line));
            }
            QCOMPARE(*ids.begin(), gta3 ? 90 : 130);
            QCOMPARE(*ids.rbegin(), gta3 ? 150 : 236);
        }
        // Each game finds only its own vehicles.
        QVERIFY(!stock.DefaultIdeLine(Game::Gta3, 200));
        QVERIFY(!stock.DefaultIdeLine(Game::ViceCity, 90));
        QVERIFY(stock.DefaultIdeLine(Game::ViceCity, 223).value_or("").find("jetmax") != std::string::npos);
    }

    // Every handling.cfg line is found by its own identifier: identifiers are unique within a
    // game, so the first match is the line itself.
    void handlingLookup()
    {
        for (const Game game : {Game::Gta3, Game::ViceCity}) {
            const auto keys = DefaultLines::HandlingKeys(game);
            for (int key = keys.first; key <= keys.last; ++key) {
                const std::string& line = stock.Entry(key);
                const std::string id = DefaultLines::HandlingIdentifier(line);
                QVERIFY2(!id.empty() && id.size() <= 14, line.c_str());
                QCOMPARE(stock.HandlingLine(game, id), std::optional<std::string>(line));
            }
        }
        // RIO and HUNTER have tabs inside their identifier fields in the game's file; expanded
        // at 8-column stops they leave the bare name in the first 15 characters. Case counts,
        // the whole field counts, each game has its own vehicles, and a caption is no vehicle.
        const Game vc = Game::ViceCity;
        const std::tuple<Game, const char*, int> cases[] = {
            {vc, "RIO", 329},         {vc, "HUNTER", 342},        {vc, "RIO          30", 0}, {vc, "BORGNINE", 0},
            {vc, "Id", 0},            {Game::Gta3, "landstal", 0}, {Game::Gta3, "LANDSTA", 0},  {Game::Gta3, "RIO", 0}};
        for (const auto& [game, identifier, key] : cases) {
            const auto expected = key ? std::optional<std::string>(stock.Entry(key)) : std::nullopt;
            QVERIFY2(stock.HandlingLine(game, identifier) == expected, identifier);
        }
    }

    void readWholeNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<int>>("number");
        const std::optional<int> none;
        QTest::newRow("blanks anywhere, stops at comma") << " \t09 5, x" << std::optional<int>(95);
        QTest::newRow("whole fraction") << "95.0" << std::optional<int>(95);
        QTest::newRow("fraction") << "95.5" << none;
        QTest::newRow("too large") << "99999999999999999999" << none;
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
