#include "printer_plan.h"

#include <array>
#include <vector>

#include "diagdata/value_judgement.h"
#include "fill_random.h"
#include "workstation/model_catalogue.h"

namespace pralix::desk::fill {
namespace {

// How common each catalogue row is in the fleet (most shops are Serbian
// FP-550s and Montenegrin VGs).
constexpr std::array<int, 16> kModelWeights = {30, 6, 5, 8, 3, 4, 4, 3, 10, 5, 3, 3, 5, 3, 4, 4};

const char* const kShopKinds[] = {"PRODAVNICA", "MARKET", "APOTEKA", "PEKARA", "KAFE", "TRAFIKA", "BUTIK", "MESARA"};
const char* const kShopNames[] = {"JOVANA", "MORAVA", "ZORA", "SUNCE", "DUNAV", "LIPA", "ĐURĐEVAK", "KOŠUTA",
                                  "BOROVO", "ČAČAK", "ŠUMADIJA", "VIDIK", "NADA", "ŽITO", "MAJA", "KRUNA"};
const char* const kStreets[] = {"Šumadijska", "Kralja Petra", "Njegoševa", "Bulevar oslobođenja", "Cara Dušana",
                                "Vojvode Stepe", "Kneza Miloša", "Žička", "Svetog Save", "Gospodar Jevremova"};
const char* const kSerbianCities[] = {"11000 Beograd", "21000 Novi Sad", "18000 Niš", "34000 Kragujevac",
                                      "32000 Čačak", "24000 Subotica", "31000 Užice", "36000 Kraljevo"};
const char* const kMontenegrinCities[] = {"81000 Podgorica", "85000 Bar", "84000 Bijelo Polje", "85330 Kotor"};
const char* const kMacedonianCities[] = {"1000 Skopje", "7000 Bitola", "6000 Ohrid"};
const char* const kBulgarianCities[] = {"1000 Sofia", "4000 Plovdiv", "9000 Varna"};
const char* const kMalawianCities[] = {"Lilongwe", "Blantyre", "Zomba"};
const char* const kThanks[] = {"HVALA NA POSETI", "DOBRODOŠLI", "HVALA, DOĐITE PONOVO", "NA USLUZI"};
const char* const kPortTags[] = {"Ser", "Ser", "USB", "VCP", "Pro"};
const char* const kLinkVersions[] = {"10.2.3", "10.2.4", "10.2.5", "10.2.6"};
// The first octets of the shops' internet providers.
constexpr std::array<int, 8> kProviderBlocks = {77, 79, 89, 93, 109, 178, 188, 212};

template <typename T, size_t N>
const T& Pick(FillRandom& random, const T (&items)[N]) {
  return items[random.below(int(N))];
}

const char* CatalogueCode(FillRandom& random, QString* market) {
  int total = 0;
  for (const int weight : kModelWeights) total += weight;
  int draw = random.below(total);
  size_t row = 0;
  while (draw >= kModelWeights[row]) draw -= kModelWeights[row++];
  *market = QLatin1String(ModelCatalogue[row].market);
  return ModelCatalogue[row].code;
}

// The known firmware texts of a market: "SR" for Serbia, "CG" Montenegro,
// "MK" North Macedonia, "BG" Bulgaria, "MW" Malawi.
std::vector<QString> FirmwareOf(const QString& market) {
  const QString family = market == QLatin1String("SRB")   ? QStringLiteral("SR")
                         : market == QLatin1String("MNE") ? QStringLiteral("CG")
                         : market == QLatin1String("MKD") ? QStringLiteral("MK")
                         : market == QLatin1String("BUG") ? QStringLiteral("BG")
                                                          : QStringLiteral("MW");
  std::vector<QString> texts;
  for (const char* known : KnownFirmware)
    if (QString::fromLatin1(known).mid(4, 2) == family) texts.push_back(QString::fromLatin1(known));
  return texts;
}

// A firmware text no list knows, shaped like the real ones.
QString UnknownFirmware(FillRandom& random, const QString& like) {
  static const char* const kMonths[] = {"JAN", "MAR", "MAY", "JUL", "SEP", "NOV"};
  const int hour = random.between(8, 17);
  const int time = hour * 100 + 30 * random.below(2);
  // Chained arg() calls draw left to right (each call's object is evaluated before its argument).
  return QStringLiteral("%1.%2%3 %4%5%6 %7,%8")
      .arg(random.between(1, 5))
      .arg(random.between(0, 99), 2, 10, QLatin1Char('0'))
      .arg(like.mid(4, 2))
      .arg(random.between(1, 28), 2, 10, QLatin1Char('0'))
      .arg(QLatin1String(Pick(random, kMonths)))
      .arg(random.between(10, 22))
      .arg(time, 4, 10, QLatin1Char('0'))
      .arg(random.next() & 0xFFFF, 4, 16, QLatin1Char('0'))
      .toUpper();
}

QString Pib(FillRandom& random) { return QStringLiteral("1%1").arg(random.below(100000000), 8, 10, QLatin1Char('0')); }

QString City(FillRandom& random, const QString& market) {
  if (market == QLatin1String("MNE")) return QString::fromUtf8(Pick(random, kMontenegrinCities));
  if (market == QLatin1String("MKD")) return QString::fromUtf8(Pick(random, kMacedonianCities));
  if (market == QLatin1String("BUG")) return QString::fromUtf8(Pick(random, kBulgarianCities));
  if (market == QLatin1String("MLW")) return QString::fromUtf8(Pick(random, kMalawianCities));
  return QString::fromUtf8(Pick(random, kSerbianCities));
}

// The receipt header: shop, street, city, PIB, a line the owner chose, thanks.
QStringList Header(FillRandom& random, const QString& market, const QString& pib) {
  // One draw a statement: the operands of + may be evaluated in any order.
  const QString kind = QString::fromUtf8(Pick(random, kShopKinds));
  const QString shop = kind + QStringLiteral(" \"") + QString::fromUtf8(Pick(random, kShopNames)) + QLatin1Char('"');
  const QString streetName = QString::fromUtf8(Pick(random, kStreets));
  const QString street = streetName + QLatin1Char(' ') + QString::number(random.between(1, 120));
  const QString fifth = random.chance(0.5) ? QStringLiteral("Tel. 0%1/%2").arg(random.between(10, 39)).arg(random.between(200000, 999999))
                                            : QString();
  return {shop, street, City(random, market), QStringLiteral("PIB ") + pib, fifth, QString::fromUtf8(Pick(random, kThanks))};
}

qint64 MomentIn(FillRandom& random, qint64 fromMs, qint64 toMs) {
  return fromMs + qint64(random.unit() * double(toMs - fromMs));
}

}  // namespace

PrinterPlan PlanPrinter(quint64 seed, int index, qint64 fromMs, qint64 toMs) {
  FillRandom random(seed, {1, quint64(index)});
  PrinterPlan plan;
  // Six digits unique per index: 7919 is prime to 10^6.
  const int digits = int((qint64(index) * 7919 + qint64(seed % 1000000)) % 1000000);
  plan.ibfm = QLatin1String(CatalogueCode(random, &plan.market)) + QStringLiteral("%1").arg(digits, 6, 10, QLatin1Char('0'));

  plan.pib.before = Pib(random);
  plan.header = Header(random, plan.market, plan.pib.before);
  plan.pib.after = plan.pib.before;
  plan.laterHeader = plan.header;
  if (random.chance(0.05)) {  // the shop changed hands
    plan.pib.after = Pib(random);
    plan.pib.changeMs = MomentIn(random, fromMs, toMs);
    plan.laterHeader = Header(random, plan.market, plan.pib.after);
  }

  const std::vector<QString> known = FirmwareOf(plan.market);
  const int first = random.below(int(known.size()));
  plan.firmware.before = plan.firmware.after = known[size_t(first)];
  if (random.chance(0.02)) plan.firmware.before = plan.firmware.after = UnknownFirmware(random, known.front());
  if (random.chance(0.15)) {  // an update, now and then to a text nobody listed
    plan.firmware.after = random.chance(0.1) ? UnknownFirmware(random, known.front())
                                             : known[size_t(random.below(int(known.size())))];
    plan.firmware.changeMs = MomentIn(random, fromMs, toMs);
  }

  const int link = random.below(3);
  plan.fiscalLink.before = plan.fiscalLink.after = QLatin1String(kLinkVersions[link]);
  if (random.chance(0.3)) {
    plan.fiscalLink.after = QLatin1String(kLinkVersions[link + 1]);
    plan.fiscalLink.changeMs = MomentIn(random, fromMs, toMs);
  }
  plan.windows = random.chance(0.55) ? QStringLiteral("10.0") : random.chance(0.7) ? QStringLiteral("6.1") : QStringLiteral("6.3");
  plan.taxGroups = plan.market == QLatin1String("SRB") && random.chance(0.1) ? QLatin1String(TaxMaskSingle)
                                                                              : QLatin1String(TaxMaskStandard);

  const int com = random.between(1, 4);
  const auto portName = [&random](int n) {
    return QStringLiteral("COM%1/").arg(n) + QLatin1String(n <= 2 ? "Ser" : Pick(random, kPortTags));
  };
  plan.port.before = plan.port.after = portName(com);
  if (random.chance(0.04)) {
    plan.port.after = portName(com % 4 + 1);
    plan.port.changeMs = MomentIn(random, fromMs, toMs);
  }

  plan.startFreeReports = random.between(100, 3000);
  plan.startArticles = random.chance(0.03) ? random.between(3001, 6000) : random.between(15, 2500);
  plan.articlesPerYear = random.between(0, 120);
  plan.clockMinutes = random.between(0, 5);
  if (random.chance(0.08)) {  // a clock that runs off until someone sets it again
    plan.clockDriftPerDay = 0.05 + random.unit() * 0.6;
    plan.clockResetMinutes = random.between(8, 120);
  }
  const quint32 block = quint32(kProviderBlocks[size_t(random.below(int(kProviderBlocks.size())))]);
  plan.address = block << 24 | quint32(random.next() & 0xFFFFFF);
  plan.addressDays = random.chance(0.6) ? random.between(20, 200) : 0;
  plan.toolLagDays = random.between(0, 120);
  plan.oldTool = random.chance(0.005);
  return plan;
}

}  // namespace pralix::desk::fill
