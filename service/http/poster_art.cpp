#include "http/poster_art.h"

#include "library/html_text.h"

namespace taviro::demo {

std::string PosterHtml(const Series& series, const char* size_class) {
  const Poster& p = series.poster;
  std::string html = "<div class=\"poster ";
  html += size_class;
  html += "\" style=\"background:linear-gradient(160deg," + HtmlEscape(p.from_colour) + "," +
          HtmlEscape(p.to_colour) + ")\">";
  html +=
      "<svg viewBox=\"0 0 120 165\" preserveAspectRatio=\"none\" aria-hidden=\"true\">"
      "<circle cx=\"92\" cy=\"30\" r=\"16\" fill=\"rgba(255,255,255,.18)\"/>"
      "<circle cx=\"20\" cy=\"58\" r=\"34\" fill=\"rgba(255,255,255,.05)\"/>"
      "<path d=\"M0 128 L30 96 L52 116 L80 84 L120 122 L120 165 L0 165Z\" fill=\"rgba(0,0,0,.28)\"/>"
      "<path d=\"M0 146 L40 118 L70 138 L98 112 L120 130 L120 165 L0 165Z\" fill=\"rgba(0,0,0,.38)\"/>"
      "</svg>";
  html += "<div class=\"glyph\">" + HtmlEscape(p.glyph) + "</div>";
  if (!series.score.empty()) html += "<span class=\"score\">" + HtmlEscape(series.score) + "</span>";
  if (series.year > 0) html += "<span class=\"year\">" + std::to_string(series.year) + "</span>";
  html += "</div>";
  return html;
}

}  // namespace taviro::demo
