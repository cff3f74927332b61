#include "messages/P00_msg.h"

#include <QString>
#include <stdexcept>

#include "interfaces/code_pages.h"

namespace pralix {

Msg GlobalMsg;

namespace {

struct Entry {
  int number;
  const char* srb;  // UTF-8 here; stored in Windows-1250
  const char* eng;
  const char* hun;
};

// Slots 0-6 and 50-63; every other slot stays empty.  "FP-XXX" is literal.
constexpr Entry kTable[] = {
  {0,
   "Baza podataka necitljiva!\n\nPreporuka:\n\nPozovite Vantrel-u",
   "Database can not be read!\n\nRecomendation:\n\nCall Vantrel",
   "Olvashatatlan adatbázis!\n\nAjánlás:\n\nHivja Vantrel-át"},
  {1,
   "Prekid komunikacije sa FP-XXX!\nProgram ce biti prekinut!\n\nPreporuka:\n\n"
   "1. Proverite sve kablove\n\n2. Proverite da li svetli zelena lampica na FP-XXX\n"
   "\n3. Proverite da li svetli L1 lampica na GPRS modemu",
   "Communication with FP-XXX interupted!\nProgram will shutdown!\n\n"
   "Recomendation:\n\n1. Check all cables\n\n2. Check green led on FP-XXX\n\n"
   "3. Check green led on L1 on GPRS modem",
   "Megszakadt a komunikáció az FP-XXX -ről!\nA program meg fog szakadni!\n\n"
   "Ajánlás:\n\n1. Ellenőrizze az összes kábelt\n\n"
   "2. Ellenőrizze hogy világít-e a zöld égő a FP-XXX-ön\n\n"
   "3. Ellenőrizze hogy világít-e az L1 égő a GPRS modemen"},
  {2,
   "Kabl DISPLAY-ja za kupca verovatno u prekidu!\nProdaja nije moguca\n\n"
   "Preporuka:\n\nProverite kabl",
   "Customer DISPLAY cable probable broken!\nSales is forbidden\n\nRecomendation:\n"
   "\n1. Check cable",
   "Valószínűleg megszakadt a vevő DISPLAY kábele!\nAz eladás nem lehetséges\n\n"
   "Ajánlás:\n\n1. Ellenőrizze a kábelt"},
  {3,
   "Nestalo je papira na BON-u ili JOURNAL-u!\n\nPreporuka:\n\n1. ZAMENITE PAPIR!\n"
   "\n2. VRATITE POLUGU!\n\n3. ZATVORITE POKLOPAC!\n\nPritisnite OK kada ga zamenite",
   "No paper on BON or JOURNAL tape!\n\nRecomendation:\n\n1. Change paper!\n\n"
   "2. Return LEVER!\n\n3. Close COVER!\n\nPress OK when finish",
   "Elfogyott a papir a BON-on vagy a JOURNAL-on!\n\nAjánlás:\n\n"
   "1. CSERÉLJE KI A PAPíRT!\n\n2. HELYEZZE VISSZA A KART!\n\n"
   "3. ZÁRJA LE A FEDELET!\n\nKattintson az OK gombra, amikor kicserélte"},
  {4,
   "Razlika vremena na stampacu i racunaru je veca od definisane!\n\nPreporuka:\n\n"
   "1. Proverite / podesite vreme na racunaru\n"
   "2. Podesite zimsko / letnje vreme na stampacu, kroz program Ostrik-menu\n"
   "3. Odnesite stampac u servis da se podesi vreme",
   "Time difference between PC and FP-XXX is more then defined!\n\nRecomendation:\n"
   "\n1. Check and set PC time \n"
   "2. Check winter/summer time on FP-XXX, with Ostrik-menu\n"
   "3. Set time in certified service center",
   "Az idő külömbség a nyomtatón és a számitógépen nagyobb a meghatározottnál!\n\n"
   "Ajánlás:\n\n1. Ellenőrizze / állítsa be az időt a számitógépen\n"
   "2. Állítsa be a téli / nyári időt a nyomtatón, a Ostrik-menün keresztül\n"
   "3. Vigye el a nyomtatót a szervízbe, hogy beállitsák az időt"},
  {5,
   "Program zahteva Ostrik9.jxf ver.900!\nProgram ce biti prekinut!\n\nPreporuka:\n"
   "\nPozovite Vantrel-u",
   "Program requires Ostrik9.jxf ver.900!\nProgram will shutdown!\n\n"
   "Recomendation:\n\n1. Call Vantrel",
   "A program kéri a Ostrik9.jxf ver.900!\nA program meg fog szakadni!\n\nAjánlás:\n"
   "\n1. Hívja Vantrel-át"},
  {6,
   "Ovaj FP-XXX NIJE fiskalizovan!\nRadite na sopstvenu odgovornost!",
   "This FP-XXX IS NOT fiskalized!\nYou are working at wour own responsibility!",
   "Ez az FP-XXX NINCS fiskalizálva!\nA saját felelőségére dolgozik!"},
  {50,
   "Akcija zahteva ZATVARANJE dana!",
   "Action requires CLOSING A DAY!",
   "Az akció kéri a nap BEZÁRÁSÁT!"},
  {51,
   "Poreske grupe nisu setovane!\n\nPreporuka:\n\nOdnesite stampac u servis",
   "Tax group are not set!\n\nRecomendation:\n\n"
   "Take printer in certified service center",
   "Az adócsoportok nincsenek beállítva!\n\nAjánlás:\n\nVigye szervízbe a nyomtatót"},
  {52,
   "Brisanje svih artikala iz stampaca nije uspelo!\n\nPreporuka:\n\n"
   "Pozovite ovlasceni servis ili Vantrel-u",
   "Deleting article from Printer is not sucessfull!\n\nRecomendation:\n\n"
   "Call sertified service center or Vantrel",
   "Nem sikerült az összes termék törlése a nyomtatóbol!\n\nAjánlás:\n\n"
   "Hívja a felhatalmazott szervízt vagy a Vantrel-át"},
  {53,
   "Struktura ABC file-e neodgovarajuca!\n\nPreporuka:\n\n"
   "1. Mora da ima klauzulu END_OF_SALE\n2. Mora da ima klauzulu END_OF_PAY\n"
   "3. Mora da ima od 1 do 250 stavki",
   "Structure of ABC file wrong!\n\nRecomendation:\n\n"
   "1. Must have clause END_OF_SALE\n2. Must have clause END_OF_PAY\n"
   "3. Must have from 1 till 250 items",
   "Az ABC fájl szerkezete nem megfelelő!\n\nAjánlás:\n\n"
   "1. END_OF_SALE záradéknak lennie kell\n2. END_OF_PAY záradéknak lennie kell\n"
   "3. Lennie kell 1-től 250 darabig"},
  {54,
   "Polje SALE_PRICE – mora biti od 0.01 do 990000",
   "Field SALE_PRICE – must be from 0.01 till 990000",
   "SALE_PRICE mező – 0.01-től 990000-ig kell hogy legyen"},
  {55,
   "Polje SALE_QTY – mora biti po formatu:\n\nNNNNN , NNN.N , NN.NN , N.NNN , nije 0",
   "Field SALE_QTY – must be formated:\n\nNNNNN , NNN.N , NN.NN , N.NNN , not 0",
   "SALE_QTY mező – formátum kell hogy legyen:\n\n"
   "NNNNN , NNN.N , NN.NN , N.NNN , nem 0"},
  {56,
   "Polje SALE_TOTAL stavke – mora biti u opsegu od 0 do 9900000",
   "Field SALE_TOTAL – must be from 0 till 9900000",
   "SALE_TOTAL mező elemei – 0 - tól 9900000 – ig tartomanyban kell hogy legyen"},
  {57,
   "U toku rada programa doslo je do promene/zamene FP-XXX!\n"
   "Program ce biti prekinut!",
   "During processing FP-XXX is changed with other!\nProgram shutdown!",
   "A program működése soran változás/csere történt az FP-XXX!\n"
   "A program meg fog szakadni!"},
  {58,
   "Ne postoje uslovi za promenu poreskih grupa!\n\nPreporuka:\n\n1. Zatvorite dan\n"
   "2. Obrisite artikle iz FP-XXX i baze",
   "Tax group can not be changed!\n\nRecomendation:\n\n1. Close a day\n"
   "2. Delete articles from FP-XXX and database",
   "Nincs lehetőség az adócsoporttok megváltoztatására!\n\nAjánlás:\n\n"
   "1. Zárja le a napot\n2. Törölje a tételeket az FP-XXX bázisából"},
  {59,
   "NEUSPESNA promena poreskih grupa!",
   "Tax group change unsucessfull!",
   "SIKERTELEN adócsoport változás!"},
  {60,
   "Poreska grupa je nevazeca\n\nPreporuka:\n\nUnesite vazecu",
   "Tax group wrong\n\nRecomendation:\n\nEnter valid",
   "Az adócsoport érvénytelen\n\nAjánlás:\n\nÍrja be az érvényest"},
  {61,
   "Polje DISC_PERC – mora biti od -99.00 do 99.00",
   "Field DISC_PERC – must be from -99.00 do 99.00",
   "DISC_PERC mezőnek – -99.00 -tól 99.00 -ig kell hogy legyenl"},
  {62,
   "Polja ART_ID, ART_DESC, TAX_ID moraju imati vrednost",
   "Fields ART_ID, ART_DESC, TAX_ID must have a value",
   "ART_ID, ART_DESC, TAX_ID mezőknek kell hogy legyen értéke"},
  {63,
   "Dupli ART_DESC",
   "Duplicate ART_DESC",
   "Duplicate ART_DESC"},
};

QByteArray ToWindows1250(const char* utf8) {
  const QString text = QString::fromUtf8(utf8);
  QByteArray bytes = EncodeWithCodePage(text, kCentralEuropeanCodePage);
  // Every letter of the table exists in Windows-1250; a "?" that the text
  // did not have is a typing error in the table, not a condition to carry
  // on with.
  if (bytes.count('?') != text.count(u'?'))
    throw std::logic_error(std::string("not encodable in Windows-1250: ") + utf8);
  return bytes;
}

}  // namespace

Msg::Msg() {
  for (const Entry& e : kTable) {
    Srb[e.number] = ToWindows1250(e.srb);
    Eng[e.number] = ToWindows1250(e.eng);
    Hun[e.number] = ToWindows1250(e.hun);
  }
}

QByteArray Msg::Get(qint32 number) const {
  if (number < 0 || number >= Count) return {};
  if (Lang == "ENG" && !Eng[number].isEmpty()) return Eng[number];
  if (Lang == "HUN" && !Hun[number].isEmpty()) return Hun[number];
  return Srb[number];
}

}  // namespace pralix

