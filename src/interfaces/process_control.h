#pragma once
// Starting and stopping other programs: the fiscal-link software that holds
// the printer's port, and the browser for the maker's web address.

#include <QString>
#include <memory>

namespace pralix {

// Image names of the fiscal-link software's processes begin with this.
inline constexpr char kFiscalLinkProcessPrefix[] = "Ostrik";

class ProcessControl {
 public:
  virtual ~ProcessControl() = default;
  // Ends by force every process whose name begins with "Ostrik"; does not
  // wait and reports nothing.
  virtual void stopFiscalLink() = 0;
  // Opens a web address with the default handler; the outcome is ignored.
  virtual void openUrl(const QString& url) = 0;
};

std::unique_ptr<ProcessControl> MakeSystemProcessControl();

}  // namespace pralix
