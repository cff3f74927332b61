#include "reply_layouts.h"

#include <QList>
#include <optional>
#include <vector>

namespace pralix::sim {

namespace {

bool In(int model, std::initializer_list<int> set) {
  for (int m : set)
    if (m == model) return true;
  return false;
}

// Places values at their field positions; the places left over take filler.
class FieldRow {
 public:
  explicit FieldRow(int count) : fields_(count) {}
  FieldRow& Put(int index, const QByteArray& value) {
    if (index >= int(fields_.size())) fields_.resize(index + 1);
    fields_[index] = value;
    return *this;
  }
  FieldRow& Fill(const QList<QByteArray>& filler) {
    int next = 0;
    for (auto& f : fields_)
      if (!f && next < filler.size()) f = filler[next++];
    return *this;
  }
  QByteArray Join() const {
    QList<QByteArray> out;
    for (const auto& f : fields_) out << f.value_or(QByteArray());
    return out.join(',');
  }

 private:
  std::vector<std::optional<QByteArray>> fields_;
};

QByteArray FiscalMemoryNumber(int model) { return "FM" + QByteArray::number(50000 + 1111 * model); }

// Rates of the nine tax groups, in the order the printers list them.
const QList<QByteArray> kRates = {"0.00", "20.00", "0.00", "10.00", "8.00", "0.00", "0.00", "0.00", "0.00"};

}  // namespace

int SerialFieldIndex(int model) {
  if (model == 10) return 3;
  if (In(model, {12, 13})) return 5;
  return 4;
}

int FirmwareFieldIndex(int model) { return In(model, {9, 12, 13, 14, 15}) ? 1 : 0; }

int ArticleFieldIndex(int model) { return In(model, {9, 10, 15}) ? 1 : 2; }

int TaxFieldIndex(int model) {
  if (In(model, {12, 13})) return 3;
  if (In(model, {8, 9, 10, 11, 15})) return 2;
  return 1;
}

QByteArray DeviceInfoReply(const PrinterIdentity& id) {
  const int fw = FirmwareFieldIndex(id.model);
  FieldRow row(6);
  if (fw == 1) row.Put(0, id.modelName);
  row.Put(fw, id.firmwareVersion).Put(fw + 1, id.firmwareChecksum).Put(SerialFieldIndex(id.model), id.serialField);
  // Switches, market, fiscal memory number fill the places the model leaves.
  return row.Fill({"00100110", id.market, FiscalMemoryNumber(id.model)}).Join();
}

QByteArray TaxpayerReply(const PrinterIdentity& id) { return id.pibField + ",1"; }

QByteArray TaxRatesReply(const PrinterIdentity& id) {
  FieldRow row(TaxFieldIndex(id.model) + 1);
  row.Put(0, "2").Put(TaxFieldIndex(id.model), id.tax).Fill({"1", "0"});
  return row.Join() + "," + kRates.join(',');
}

QByteArray ArticleInfoReply(const PrinterIdentity& id) {
  const QByteArray capacity = "3000";
  const QByteArray nameLength = "32";
  if (ArticleFieldIndex(id.model) == 1) return capacity + "," + id.plu + "," + nameLength;
  return capacity + "," + nameLength + "," + id.plu;
}

QByteArray FreeRecordsReply(const PrinterIdentity& id, int closures) {
  return id.freeZ + "," + QByteArray::number(closures);
}

QByteArray DailyReportReply(int closure) {
  return QByteArray::number(closure) + ",0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00";
}

}  // namespace pralix::sim
