#include "channels_source/xmltv_reader.h"

#include <libxml/xmlreader.h>
#include <zlib.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace taviro::demo {
namespace {

struct ReaderFree {
  void operator()(xmlTextReader* reader) const { xmlFreeTextReader(reader); }
};
using Reader = std::unique_ptr<xmlTextReader, ReaderFree>;

struct XmlFree {
  void operator()(xmlChar* text) const { xmlFree(text); }
};

constexpr std::size_t kMaxTextBytes = 1024;

bool IsGzip(std::string_view bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0x1f &&
         static_cast<unsigned char>(bytes[1]) == 0x8b;
}

std::optional<std::string> Inflate(std::string_view bytes, std::size_t max_bytes) {
  z_stream stream{};
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) return std::nullopt;
  std::unique_ptr<z_stream, int (*)(z_stream*)> guard(&stream, inflateEnd);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  std::string out;
  std::array<char, 64 * 1024> chunk{};
  int result = Z_OK;
  while (result != Z_STREAM_END) {
    stream.next_out = reinterpret_cast<Bytef*>(chunk.data());
    stream.avail_out = chunk.size();
    result = inflate(&stream, Z_NO_FLUSH);
    if (result != Z_OK && result != Z_STREAM_END) return std::nullopt;
    out.append(chunk.data(), chunk.size() - stream.avail_out);
    if (out.size() > max_bytes) return std::nullopt;
  }
  return out;
}

std::string Attribute(xmlTextReader* reader, const char* name) {
  std::unique_ptr<xmlChar, XmlFree> value(
      xmlTextReaderGetAttribute(reader, reinterpret_cast<const xmlChar*>(name)));
  return value ? std::string(reinterpret_cast<const char*>(value.get())) : std::string();
}

std::string_view Name(xmlTextReader* reader) {
  const xmlChar* name = xmlTextReaderConstLocalName(reader);
  return name != nullptr ? std::string_view(reinterpret_cast<const char*>(name)) : std::string_view();
}

// The text of the element the reader is on; entity references stay out.
std::string ElementText(xmlTextReader* reader) {
  std::string text;
  if (xmlTextReaderIsEmptyElement(reader) == 1) return text;
  const int depth = xmlTextReaderDepth(reader);
  while (xmlTextReaderRead(reader) == 1) {
    const int type = xmlTextReaderNodeType(reader);
    if (type == XML_READER_TYPE_END_ELEMENT && xmlTextReaderDepth(reader) == depth) break;
    if (type == XML_READER_TYPE_TEXT || type == XML_READER_TYPE_CDATA ||
        type == XML_READER_TYPE_SIGNIFICANT_WHITESPACE) {
      const xmlChar* value = xmlTextReaderConstValue(reader);
      if (value != nullptr && text.size() < kMaxTextBytes) text += reinterpret_cast<const char*>(value);
    }
  }
  if (text.size() > kMaxTextBytes) text.resize(kMaxTextBytes);
  return text;
}

struct Programme {
  std::string channel;
  std::string start;
  std::string stop;
  std::string title;
};

}  // namespace

bool ReadXmltv(std::string_view bytes, channels::ProgrammeGuide& guide, const XmltvLimits& limits) {
  std::optional<std::string> inflated;
  if (IsGzip(bytes)) {
    inflated = Inflate(bytes, limits.max_inflated_bytes);
    if (!inflated) return false;
    bytes = *inflated;
  }
  if (bytes.size() > static_cast<std::size_t>(INT32_MAX)) return false;
  // No XML_PARSE_NOENT or DTD loading: entities are never expanded.
  Reader reader(xmlReaderForMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                   XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
  if (!reader) return false;
  const auto give_up_at = std::chrono::steady_clock::now() + limits.deadline;
  std::string channel_id;
  std::optional<Programme> programme;
  std::size_t nodes = 0;
  int result = 0;
  while ((result = xmlTextReaderRead(reader.get())) == 1) {
    if (++nodes % 4096 == 0 && std::chrono::steady_clock::now() > give_up_at) return false;
    const int type = xmlTextReaderNodeType(reader.get());
    const std::string_view name = Name(reader.get());
    if (type == XML_READER_TYPE_ELEMENT) {
      if (name == "channel") {
        channel_id = Attribute(reader.get(), "id");
      } else if (name == "display-name" && !channel_id.empty()) {
        guide.AddChannelName(channel_id, ElementText(reader.get()));
      } else if (name == "programme") {
        programme = Programme{Attribute(reader.get(), "channel"),
                              Attribute(reader.get(), "start"),
                              Attribute(reader.get(), "stop"),
                              {}};
      } else if (name == "title" && programme && programme->title.empty()) {
        programme->title = ElementText(reader.get());
      }
    } else if (type == XML_READER_TYPE_END_ELEMENT) {
      if (name == "channel") channel_id.clear();
      if (name == "programme" && programme) {
        guide.AddProgramme(programme->channel, programme->start, programme->stop, programme->title);
        programme.reset();
      }
    }
  }
  return result == 0;
}

}  // namespace taviro::demo
