#pragma once

#include <string>

#include "http/catalogue.h"

namespace taviro::demo {

// A poster drawn in place: the series' two colours as a gradient, an SVG
// landscape over it and the series' glyph; no outside pictures.
std::string PosterHtml(const Series& series, const char* size_class);

inline constexpr const char* kPosterStyle = R"css(
.poster{position:relative;overflow:hidden;border-radius:4px;box-shadow:0 4px 14px rgba(0,0,0,.55)}
.poster svg{position:absolute;left:0;top:0;width:100%;height:100%}
.poster .glyph{position:absolute;left:0;right:0;top:18%;text-align:center;color:rgba(255,255,255,.92);
 font-family:"Noto Serif CJK SC","AR PL UMing CN",serif;text-shadow:0 2px 10px rgba(0,0,0,.5)}
.poster .score{position:absolute;right:6px;top:6px;background:rgba(0,0,0,.55);color:#ffb83d;
 font-weight:bold;font-size:12px;padding:0 6px;border-radius:3px}
.poster .year{position:absolute;left:6px;bottom:6px;color:rgba(255,255,255,.8);font-size:11px}
.poster.small{width:120px;height:165px}.poster.small .glyph{font-size:54px}
.poster.large{width:180px;height:248px}.poster.large .glyph{font-size:84px}
)css";

}  // namespace taviro::demo
