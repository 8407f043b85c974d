#pragma once

#include <string>
#include <string_view>

namespace taviro::demo {

// Colours and fonts every page shares: the program's dark theme.
inline constexpr std::string_view kBaseStyle = R"css(
*{margin:0;padding:0;box-sizing:border-box}
html,body{background:#212121;color:#d8d8d8}
body{font:13px/1.6 "Noto Sans CJK SC","Source Han Sans SC","WenQuanYi Micro Hei","Microsoft YaHei",sans-serif}
a{color:inherit;text-decoration:none}
ul{list-style:none}
)css";

struct PageParts {
  std::string_view title;
  std::string_view style;  // added after the shared style
  std::string_view body;   // everything inside <body>
  // Pages that stand in for the Windows service's list pages declare their
  // code page in a meta tag; the others rely on the undeclared default.
  bool declare_gb2312 = false;
};

// A whole HTML document in UTF-8; it is encoded when it is sent.
std::string HtmlPage(const PageParts& parts);

}  // namespace taviro::demo
