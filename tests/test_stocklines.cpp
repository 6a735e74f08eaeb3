#include <QTest>

#include <optional>
#include <set>
#include <string>

#include "StockLines.h"
#include "Text.h"

using namespace revlane;

Q_DECLARE_METATYPE(revlane::Game)
Q_DECLARE_METATYPE(std::optional<int>)

namespace {

bool InRange(int key, int first, int last)
{
    return key >= first && key <= last;
}

// The keys that hold a stock line, and nothing else below 400.
bool HasStockLine(int key)
{
    return InRange(key, 1, 58) || key == 60 || key == 61 || key == 69 || InRange(key, 70, 126)
           || InRange(key, 130, 228) || InRange(key, 239, 246) || InRange(key, 247, 352);
}

// The second field of a default.ide line.
std::string ModelName(const std::string& line)
{
    const size_t first = line.find(',');
    const size_t second = line.find(',', first + 1);
    return text::TrimSpaces(line.substr(first + 1, second - first - 1));
}

}  // namespace

class TestStockLines : public QObject {
    Q_OBJECT

    DefaultLines stock;

private slots:
    void initTestCase()
    {
        QVERIFY(!stock.Loaded());
        stock.Load();
        QVERIFY(stock.Loaded());
    }

    void keysAndRanges()
    {
        int counts[4] = {};
        for (int key = 0; key < 400; ++key) {
            const std::string& line = stock.Entry(key);
            QVERIFY2(line.empty() != HasStockLine(key), qPrintable(QString("key %1").arg(key)));
            QVERIFY2(line.find('\t') == std::string::npos, qPrintable(QString("tab in key %1").arg(key)));
            QVERIFY(line.size() < 200);
            for (int r = 0; r < 4; ++r) {
                const Game game = r % 2 == 0 ? Game::Gta3 : Game::ViceCity;
                const auto range = r < 2 ? DefaultLines::DefaultIdeKeys(game) : DefaultLines::HandlingKeys(game);
                if (!line.empty() && InRange(key, range.first, range.last))
                    ++counts[r];
            }
        }
        QCOMPARE(counts[0], 61);   // GTA III default.ide
        QCOMPARE(counts[1], 107);  // Vice City default.ide
        QCOMPARE(counts[2], 57);   // GTA III handling.cfg
        QCOMPARE(counts[3], 106);  // Vice City handling.cfg

        QCOMPARE(stock.Entry(400), std::string("Id"));
        QCOMPARE(stock.Entry(-1), std::string());
        QCOMPARE(stock.Entry(401), std::string());
    }

    void tellingRows_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("line");
        QTest::newRow("gta3 landstal") << 1
                                       << "90,         landstal,       landstal,       car,    LANDSTAL,       LANDSTK,   "
                                          "             richfamily,     10,     7,      0,      164, 0.8";
        QTest::newRow("gta3 borgnine") << 69
                                       << "148,       borgnine,       borgnine,       car,    BORGNINE,       BORGNIN,   "
                                          "             ignore,         1,      7,      0,      163, 0.75";
        QTest::newRow("gta3 LANDSTAL") << 70
                                       << "LANDSTAL        1700.0 2.0 5.0 2.0 0.0 0.0  0.25 85  0.85 0.85 0.51 5 160.0 "
                                          "20.0 4 D 6.2   0.60 0 35.0  2.0  0.1  0.27 0.35 25000 0.25 -0.1  0.5  C00B     "
                                          "0  1";
        QTest::newRow("vc landstal") << 130
                                     << "130, landstal,    landstal,       car,    LANDSTAL,       LANDSTK,               "
                                        " null,   normal,         10,     7,      0,              254, 0.8";
        QTest::newRow("vc FIRETRUK") << 247
                                     << "FIRETRUK        6500.0 2.9 7.7 3.8 0.0 0.0  0.0  90  0.65 0.7  0.5  5 170.0 22.0 "
                                        "R D 10.00 0.45 0 27.0  1.2  0.08 0.2  0.26 15000 0.47 -0.17 0.5  0.0             "
                                        "4404            0  1";
    }
    void tellingRows()
    {
        QFETCH(int, key);
        QFETCH(QString, line);
        QCOMPARE(QString::fromStdString(stock.Entry(key)), line);
    }

    // Every stock default.ide line is found by its own model id, and its key follows from it.
    void defaultIdeKeysByModelId()
    {
        std::set<int> seen[2];
        for (const Game game : {Game::Gta3, Game::ViceCity}) {
            const auto keys = DefaultLines::DefaultIdeKeys(game);
            for (int key = keys.first; key <= keys.last; ++key) {
                const std::string& line = stock.Entry(key);
                if (line.empty())
                    continue;
                const std::optional<int> id = DefaultLines::DefaultIdeModelId(line);
                QVERIFY2(id.has_value(), line.c_str());
                int expectedKey = 0;
                if (game == Game::Gta3)
                    expectedKey = *id == 148 ? 69 : *id - 89;
                else
                    expectedKey = *id >= 229 ? *id + 10 : *id;
                QCOMPARE(key, expectedKey);
                QCOMPARE(stock.DefaultIdeLine(game, *id), std::optional<std::string>(line));
                QVERIFY(seen[game == Game::ViceCity].insert(*id).second);
            }
        }
        QCOMPARE(*seen[0].begin(), 90);
        QCOMPARE(*seen[0].rbegin(), 150);
        QCOMPARE(*seen[1].begin(), 130);
        QCOMPARE(*seen[1].rbegin(), 236);
    }

    void defaultIdeLookup_data()
    {
        QTest::addColumn<Game>("game");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("name");  // empty: no stock line
        QTest::newRow("gta3 90") << Game::Gta3 << 90 << "landstal";
        QTest::newRow("gta3 148 under key 69") << Game::Gta3 << 148 << "borgnine";
        QTest::newRow("gta3 150") << Game::Gta3 << 150 << "ghost";
        QTest::newRow("gta3 89") << Game::Gta3 << 89 << "";
        QTest::newRow("gta3 151") << Game::Gta3 << 151 << "";
        QTest::newRow("gta3 200 is a vc id") << Game::Gta3 << 200 << "";
        QTest::newRow("vc 130") << Game::ViceCity << 130 << "landstal";
        QTest::newRow("vc 223") << Game::ViceCity << 223 << "jetmax";
        QTest::newRow("vc 228") << Game::ViceCity << 228 << "boxville";
        QTest::newRow("vc 229 under key 239") << Game::ViceCity << 229 << "benson";
        QTest::newRow("vc 236 under key 246") << Game::ViceCity << 236 << "vicechee";
        QTest::newRow("vc 90 is a gta3 id") << Game::ViceCity << 90 << "";
        QTest::newRow("vc 237") << Game::ViceCity << 237 << "";
    }
    void defaultIdeLookup()
    {
        QFETCH(Game, game);
        QFETCH(int, id);
        QFETCH(QString, name);
        const auto line = stock.DefaultIdeLine(game, id);
        QCOMPARE(line.has_value(), !name.isEmpty());
        if (line)
            QCOMPARE(QString::fromStdString(ModelName(*line)), name);
    }

    // Every stock handling.cfg line is found by its own identifier; identifiers are unique
    // within a game, so the first match is the line itself.
    void handlingKeysByIdentifier()
    {
        for (const Game game : {Game::Gta3, Game::ViceCity}) {
            const auto keys = DefaultLines::HandlingKeys(game);
            QVERIFY(keys.last < 400);
            for (int key = keys.first; key <= keys.last; ++key) {
                const std::string& line = stock.Entry(key);
                const std::string id = DefaultLines::HandlingIdentifier(line);
                QVERIFY2(!id.empty() && id.size() <= 14, line.c_str());
                QCOMPARE(stock.HandlingLine(game, id), std::optional<std::string>(line));
            }
        }
    }

    void handlingLookup_data()
    {
        QTest::addColumn<Game>("game");
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<int>("key");  // 0: none
        QTest::newRow("gta3 LANDSTAL") << Game::Gta3 << "LANDSTAL" << 70;
        QTest::newRow("gta3 BORGNINE") << Game::Gta3 << "BORGNINE" << 126;
        QTest::newRow("vc FIRETRUK first") << Game::ViceCity << "FIRETRUK" << 247;
        QTest::newRow("vc LANDSTAL near the end") << Game::ViceCity << "LANDSTAL" << 346;
        QTest::newRow("vc PATRIOT last") << Game::ViceCity << "PATRIOT" << 352;
        // The game's file has tabs inside these two identifier fields; expanded at 8-column
        // stops they leave the bare name in the first 15 characters.
        QTest::newRow("vc RIO") << Game::ViceCity << "RIO" << 329;
        QTest::newRow("vc HUNTER") << Game::ViceCity << "HUNTER" << 342;
        QTest::newRow("vc RIO with its first value") << Game::ViceCity << "RIO          30" << 0;
        QTest::newRow("vc HUNTER with its first value") << Game::ViceCity << "HUNTER      100" << 0;
        QTest::newRow("lower case") << Game::Gta3 << "landstal" << 0;
        QTest::newRow("prefix") << Game::Gta3 << "LANDSTA" << 0;
        QTest::newRow("empty") << Game::Gta3 << "" << 0;
        QTest::newRow("gta3 has no RIO") << Game::Gta3 << "RIO" << 0;
        QTest::newRow("vc has no BORGNINE") << Game::ViceCity << "BORGNINE" << 0;
        QTest::newRow("caption Id, gta3") << Game::Gta3 << "Id" << 0;
        QTest::newRow("caption Id, vc") << Game::ViceCity << "Id" << 0;
    }
    void handlingLookup()
    {
        QFETCH(Game, game);
        QFETCH(QString, identifier);
        QFETCH(int, key);
        const auto line = stock.HandlingLine(game, identifier.toStdString());
        QCOMPARE(line.has_value(), key != 0);
        if (line)
            QCOMPARE(*line, stock.Entry(key));
    }

    void readWholeNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<int>>("number");
        const std::optional<int> none;
        QTest::newRow("plain") << "90" << std::optional<int>(90);
        QTest::newRow("leading zero") << "095" << std::optional<int>(95);
        QTest::newRow("leading blank") << " 95" << std::optional<int>(95);
        QTest::newRow("blank inside") << "9 5" << std::optional<int>(95);
        QTest::newRow("stops at comma") << "95, sentinel" << std::optional<int>(95);
        QTest::newRow("whole fraction") << "95.0" << std::optional<int>(95);
        QTest::newRow("fraction") << "95.5" << none;
        QTest::newRow("sign") << "-95" << std::optional<int>(-95);
        QTest::newRow("letters") << "abc" << none;
        QTest::newRow("huge") << "99999999999999999999" << none;
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
