#include "page_assets.h"

namespace report {

const char* const kPageStyle = R"css(
:root { color-scheme: light dark; --grund: #ffffff; --text: #1b1f24; --leise: #5b6470; --linie: #d0d7de;
  --feld: #f6f8fa; --teil1: #2f6fb3; --teil2: #6aa84f; --teil3: #b4b9c0; --teil4: #e69138; --teil5: #8e7cc3;
  --markiert: #c0392b; --verweis: #1d5fa8; }
@media (prefers-color-scheme: dark) {
  :root { --grund: #16191d; --text: #e6e8eb; --leise: #9aa4af; --linie: #3a4048; --feld: #1f2329;
    --teil1: #5b9bd5; --teil2: #8fc16f; --teil3: #6c737c; --teil4: #f0a95a; --teil5: #b4a7d6; --markiert: #ff6b5b;
    --verweis: #7db3f0; }
}
* { box-sizing: border-box; }
body { margin: 0 auto; max-width: 72rem; padding: 1rem 1.5rem 3rem; background: var(--grund); color: var(--text);
  font: 15px/1.45 "Liberation Sans", Arial, Helvetica, sans-serif; }
h1 { font-size: 1.7rem; margin: .5rem 0 .2rem; }
h2 { font-size: 1.3rem; margin: 2rem 0 .6rem; padding-bottom: .2rem; border-bottom: 1px solid var(--linie); }
h3 { font-size: 1.05rem; margin: 1.4rem 0 .4rem; word-break: break-all; }
a { color: var(--verweis); }
.leise, figcaption, .hinweis { color: var(--leise); }
nav ul { list-style: none; padding: 0; display: flex; flex-wrap: wrap; gap: .3rem 1.2rem; }
.summe { display: grid; grid-template-columns: repeat(auto-fill, minmax(10.5rem, 1fr)); gap: .6rem; margin: 0;
  padding: 0; list-style: none; }
.summe li { background: var(--feld); border: 1px solid var(--linie); border-radius: 6px; padding: .5rem .7rem; }
.summe span { display: block; font-size: .85rem; color: var(--leise); }
.summe strong { font-size: 1.35rem; }
figure { margin: 1rem 0 1.6rem; }
figcaption { font-size: .9rem; margin-bottom: .3rem; }
caption { text-align: left; padding: .2rem 0; }
svg.diagramm { width: 100%; height: auto; max-width: 760px; display: block; }
svg .beschriftung, svg .wert { font-size: 12px; fill: var(--text); }
svg .teil1 { fill: var(--teil1); } svg .teil2 { fill: var(--teil2); } svg .teil3 { fill: var(--teil3); }
svg .teil4 { fill: var(--teil4); } svg .teil5 { fill: var(--teil5); } svg .markiert { fill: var(--markiert); }
.tabelle { overflow-x: auto; }
table { border-collapse: collapse; width: 100%; font-size: .9rem; }
th, td { padding: .25rem .5rem; border-bottom: 1px solid var(--linie); text-align: left; vertical-align: top; }
td.zahl, th.zahl { text-align: right; font-variant-numeric: tabular-nums; }
td.name { word-break: break-all; }
table.mitglieder td:nth-child(2) { word-break: break-all; }
table.mitglieder td:nth-child(n+3) { text-align: right; font-variant-numeric: tabular-nums; }
table.mitglieder td:last-child { text-align: left; color: var(--markiert); }
thead th { background: var(--feld); position: sticky; top: 0; }
th button { font: inherit; font-weight: bold; color: inherit; background: none; border: 0; padding: 0; cursor: pointer; }
th[aria-sort=ascending] button::after { content: " \25B2"; }
th[aria-sort=descending] button::after { content: " \25BC"; }
.befund { color: var(--markiert); }
ul.befunde { margin: .3rem 0; padding-left: 1.2rem; }
@media print {
  @page { size: A4; margin: 15mm 12mm; }
  :root { --grund: #ffffff; --text: #000000; --leise: #444444; --feld: #f2f2f2; --linie: #bbbbbb; }
  body { max-width: none; padding: 0; font-size: 10pt; }
  nav, th button::after { display: none; }
  thead th { position: static; }
  figure, tr, .summe li { break-inside: avoid; }
  h2, h3 { break-after: avoid; }
  section.projekt { break-before: auto; }
  * { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
}
)css";

const char* const kPageScript = R"js(
"use strict";
(function () {
  var collator = new Intl.Collator("de", { numeric: true, sensitivity: "base" });
  function key(row, column) {
    var cell = row.cells[column];
    if (!cell) return "";
    var value = cell.getAttribute("data-wert");
    return value !== null ? Number(value) : cell.textContent;
  }
  Array.prototype.forEach.call(document.querySelectorAll("table.sortierbar"), function (table) {
    var heads = table.tHead.rows[0].cells;
    Array.prototype.forEach.call(heads, function (head, column) {
      var button = document.createElement("button");
      button.type = "button";
      button.textContent = head.textContent;
      head.textContent = "";
      head.appendChild(button);
      button.addEventListener("click", function () {
        var numeric = head.classList.contains("zahl");
        var current = head.getAttribute("aria-sort");
        var descending = current ? current === "ascending" : numeric;
        var body = table.tBodies[0];
        var rows = Array.prototype.slice.call(body.rows);
        rows.sort(function (a, b) {
          var x = key(a, column), y = key(b, column);
          var order = typeof x === "number" && typeof y === "number" ? x - y : collator.compare(String(x), String(y));
          return descending ? -order : order;
        });
        rows.forEach(function (row) { body.appendChild(row); });
        Array.prototype.forEach.call(heads, function (other) { other.removeAttribute("aria-sort"); });
        head.setAttribute("aria-sort", descending ? "descending" : "ascending");
      });
    });
  });
})();
)js";

} // namespace report
