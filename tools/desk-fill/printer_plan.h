#pragma once
// A printer of the made-up fleet: what stays with it for its whole history
// (model, shop, first values) and the moments it changes (a new owner and
// PIB, a firmware update, a move to another port).  Drawn from the seed and
// the printer's number alone, so a printer is the same whatever the size of
// the fleet around it.

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace pralix::desk::fill {

// A value that changes once, at changeMs (never when 0).
struct Changing {
  QString before;
  QString after;
  qint64 changeMs = 0;

  const QString& at(qint64 ms) const { return changeMs != 0 && ms >= changeMs ? after : before; }
};

struct PrinterPlan {
  QString ibfm;            // model code and six digits: "AG104729"
  QString market;          // SRB, MNE, MKD, BUG, MLW
  Changing pib;            // a new owner brings a new PIB and header
  Changing firmware;       // known texts, now and then an update or an unknown one
  Changing fiscalLink;     // the fiscal-link software's version
  Changing port;           // "COM3/Ser"
  QString windows;         // "6.1", "10.0"
  QString taxGroups;
  QStringList header;      // six lines, the PIB line taken from pib at the time
  QStringList laterHeader; // after the change of owner
  int startFreeReports = 0;
  int startArticles = 0;
  int articlesPerYear = 0;
  int clockMinutes = 0;      // how far off the clock is when set
  double clockDriftPerDay = 0; // minutes a day; 0 for most
  int clockResetMinutes = 0;   // a drifting clock is set again past this
  quint32 address = 0;       // the shop's first IPv4 address
  int addressDays = 0;       // its address changes this often (0: never)
  int toolLagDays = 0;       // how long after a release the tool is updated here
  bool oldTool = false;      // sends neither version nor test time
};

// The printer number index (0-based) of the fleet seeded with seed; the
// dates of its changes fall in [fromMs, toMs].  index must be below 1 000 000
// (its six digits are unique per index).
PrinterPlan PlanPrinter(quint64 seed, int index, qint64 fromMs, qint64 toMs);

}  // namespace pralix::desk::fill
