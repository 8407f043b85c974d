#include "http/page_frame.h"

#include "library/html_text.h"

namespace taviro::demo {

using catalogue::HtmlEscape;

std::string HtmlPage(const PageParts& parts) {
  std::string page = "<!DOCTYPE html>\n<html><head>";
  if (parts.declare_gb2312)
    page += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">";
  page += "<title>" + HtmlEscape(parts.title) + "</title>\n<style type=\"text/css\">";
  page.append(kBaseStyle).append(parts.style);
  page += "</style></head>\n<body>";
  page.append(parts.body);
  page += "</body></html>\n";
  return page;
}

}  // namespace taviro::demo
