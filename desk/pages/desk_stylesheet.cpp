#include "pages/desk_stylesheet.h"

namespace pralix::desk {
namespace {

constexpr char kStylesheet[] = R"(* { box-sizing: border-box; }
body { font: 13px/1.4 "DejaVu Sans", "Liberation Sans", Arial, sans-serif; color: #111; margin: 0; background: #fff; }
header.top { display: flex; align-items: center; gap: 16px; padding: 8px 16px; background: #1f3d66; color: #fff; }
header.top a.home { color: #fff; font-weight: bold; text-decoration: none; font-size: 16px; }
header.top form.logout { margin-left: auto; display: flex; align-items: center; gap: 8px; }
header.top .user { font-weight: bold; }
main { padding: 8px 16px 24px; }
h1 { font-size: 20px; margin: 8px 0; }
h2 { font-size: 16px; margin: 20px 0 6px; border-bottom: 1px solid #999; }
a { color: #1a4f9c; }
p.counts { margin: 6px 0 10px; }
p.counts a { white-space: nowrap; }
form.filter { display: flex; flex-wrap: wrap; align-items: end; gap: 8px 14px; padding: 8px; background: #f2f4f7; border: 1px solid #ccd; }
form.filter label { font-size: 12px; }
form.filter label input, form.filter label select { display: block; margin-top: 2px; }
form.filter input[type=number] { width: 7em; }
button { font: inherit; padding: 3px 10px; }
table { border-collapse: collapse; margin: 6px 0; }
th, td { border: 1px solid #bbb; padding: 3px 6px; text-align: left; vertical-align: top; }
thead th { background: #e8ebf0; font-weight: normal; vertical-align: bottom; }
td { white-space: nowrap; }
thead th a { text-decoration: none; color: #111; }
thead th[aria-sort] { font-weight: bold; }
td.number { text-align: right; font-variant-numeric: tabular-nums; }
.mono { font-family: "DejaVu Sans Mono", "Liberation Mono", monospace; }
.red, .red a { color: #c00000; font-weight: bold; }
.mark { font-weight: bold; }
.changed { background: #fff3c4; }
.changed .mark { color: #7a4b00; }
ol.header-lines li { font-family: "DejaVu Sans Mono", "Liberation Mono", monospace; white-space: pre; min-height: 1.4em; }
p.forecast { font-weight: bold; }
p.forecast.none { font-weight: normal; color: #444; }
p.note, p.legend { color: #444; font-size: 12px; }
nav.pager { display: flex; gap: 16px; align-items: center; margin: 6px 0; }
svg.chart { max-width: 100%; height: auto; display: block; margin: 6px 0; border: 1px solid #ddd; font-family: inherit; }
table.identity th { background: #f2f4f7; font-weight: normal; }
@media print {
  header.top, form, button, nav.pager, a#csv, .no-print { display: none; }
  body, .red, .changed .mark, a, thead th a { color: #000; }
  .changed, thead th, table.identity th { background: none; }
  a { text-decoration: none; }
  main { padding: 0; }
  svg.chart { border: none; }
  tr { page-break-inside: avoid; }
}
)";

}  // namespace

QByteArray DeskStylesheet() { return QByteArray(kStylesheet); }

}  // namespace pralix::desk
