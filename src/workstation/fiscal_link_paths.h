#pragma once
// Fixed places of the maker's fiscal-link software (Ostrik) and of its other
// application.  They are Windows paths; DriveC maps them on other systems.

namespace pralix {

inline constexpr char kBelmoraRoot[] = "C:\\Belmora";  // exists when the software is installed
inline constexpr char kLinkIniPath[] = "C:\\Belmora\\Appl\\Link.ini";
inline constexpr char kVersionIniPath[] = "C:\\Belmora\\Appl\\Version.ini";
inline constexpr char kLinkOutboxPath[] = "C:\\Belmora\\Exch\\Lnk\\To_FP";
inline constexpr char kLinkOutboxPattern[] = "*.jxx";
inline constexpr char kOstrik10Path[] = "C:\\Ostrik10";  // older installation without Version.ini
inline constexpr char kKuvoVersionIniPath[] = "C:\\Kuvo\\ApplInit\\IniFiles\\Kuvo_Version.ini";

}  // namespace pralix
