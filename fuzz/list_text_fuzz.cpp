// The list lines and their page: an add puts the record on top and keeps the
// other records in order, an update or delete keeps every record it does not
// touch, and the page carries no markup but its own, one row per record.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lists/list_fields.h"
#include "lists/list_page.h"
#include "lists/list_text.h"
#include "property.h"
#include "util/file_io.h"

namespace {

using taviro::fuzz::Check;

std::vector<std::string_view> Records(std::string_view list) {
  std::vector<std::string_view> records;
  for (const std::string_view line : taviro::SplitLines(list)) {
    if (taviro::IsRecordLine(line)) records.push_back(line);
  }
  return records;
}

// A field as the program builds records from: no separator, no line end.
std::string FieldFrom(FuzzedDataProvider& input) {
  std::string field = input.ConsumeRandomLengthString(24);
  std::erase_if(field, [](char c) { return c == '|' || c == '\r' || c == '\n'; });
  return field;
}

bool IsSubsequence(const std::vector<std::string_view>& part, const std::vector<std::string_view>& whole) {
  auto at = whole.begin();
  for (const std::string_view line : part) {
    at = std::find(at, whole.end(), line);
    if (at == whole.end()) return false;
    ++at;
  }
  return true;
}

std::size_t Count(std::string_view text, std::string_view what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

// Markup characters of the page with no row, and of each row.
struct PageShape {
  std::size_t empty_page;
  std::size_t per_row;
  std::size_t empty_row;
};

PageShape ShapeOf(taviro::ListFile file, char c) {
  const std::string empty = taviro::BuildListPage(file, "");
  const std::string one = taviro::BuildListPage(file, "0|t|t|t|0|0|0\r\n");
  const std::string two = taviro::BuildListPage(file, "0|t|t|t|0|0|0\r\n0|t|t|t|0|0|0\r\n");
  const std::size_t per_row = Count(two, std::string(1, c)) - Count(one, std::string(1, c));
  const std::size_t with_rows = Count(one, std::string(1, c)) - per_row;
  return {Count(empty, std::string(1, c)), per_row, Count(empty, std::string(1, c)) - with_rows};
}

void CheckPage(taviro::ListFile file, std::string_view list) {
  const std::string page = taviro::BuildListPage(file, list);
  // Text from the list is escaped, so only the page's own markup holds these:
  // a row, its title up to the first quote, then its link.
  constexpr std::string_view kRowStart = "<tr><td align=left width=95%><a title=\"";
  constexpr std::string_view kRowLink = "\" href=open://";
  const std::size_t rows = Count(page, kRowStart);
  const std::vector<std::string_view> lines = taviro::SplitLines(list);
  Check(rows <= Records(list).size(), "a page has at most one row per record", page);
  for (const char c : {'<', '>', '"'}) {
    static const PageShape network[] = {ShapeOf(taviro::ListFile::kNetworkTasks, '<'),
                                        ShapeOf(taviro::ListFile::kNetworkTasks, '>'),
                                        ShapeOf(taviro::ListFile::kNetworkTasks, '"')};
    static const PageShape local[] = {ShapeOf(taviro::ListFile::kLocalFiles, '<'),
                                      ShapeOf(taviro::ListFile::kLocalFiles, '>'),
                                      ShapeOf(taviro::ListFile::kLocalFiles, '"')};
    const std::size_t index = c == '<' ? 0 : c == '>' ? 1 : 2;
    const PageShape shape = file == taviro::ListFile::kLocalFiles ? local[index] : network[index];
    const std::size_t expected =
        rows == 0 ? shape.empty_page : shape.empty_page - shape.empty_row + rows * shape.per_row;
    Check(Count(page, std::string(1, c)) == expected, "a page holds no markup from its list", page);
  }
  // Every row's link names a record line.
  for (std::size_t row = page.find(kRowStart); row != std::string::npos;
       row = page.find(kRowStart, row + 1)) {
    const std::size_t at = page.find('"', row + kRowStart.size());
    Check(page.compare(at, kRowLink.size(), kRowLink) == 0, "a row's title ends at its quote", page);
    const std::size_t number = std::stoul(page.substr(at + kRowLink.size(), 10));
    Check(number >= 1 && number <= lines.size() && taviro::IsRecordLine(lines[number - 1]),
          "a row links to a record line", page);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int operation = input.ConsumeIntegralInRange(0, 4);
  const int id = input.ConsumeIntegral<int>();
  const int position = input.ConsumeIntegral<int>();
  const std::string title = FieldFrom(input);
  const std::string name = FieldFrom(input);
  const std::string path = FieldFrom(input);
  const std::string list = input.ConsumeRemainingBytesAsString();
  const std::vector<std::string_view> old_records = Records(list);

  std::string out;
  switch (operation) {
    case 0: {
      const std::string record = taviro::NetworkTaskRecordLine(id, title, name, path, id, position, position);
      out = taviro::NetworkListAfterAdd(list, record, id);
      const std::vector<std::string_view> records = Records(out);
      Check(!records.empty() && records.front() == record, "an added task is the first record", out);
      Check(std::count(record.begin(), record.end(), '|') == 6, "a task record has seven fields", record);
      const std::vector<std::string_view> rest(records.begin() + 1, records.end());
      Check(rest.size() <= 100 && IsSubsequence(rest, old_records), "an add keeps old records in order", out);
      for (const std::string_view line : rest) {
        Check(taviro::ListField(line, 0) != std::to_string(id), "an add leaves no other record of its id",
              out);
      }
      break;
    }
    case 1: {
      const std::string record = taviro::LocalFileRecordLine(title, path, position);
      out = taviro::LocalListAfterAdd(list, record, path);
      const std::vector<std::string_view> records = Records(out);
      Check(!records.empty() && records.front() == record, "an added file is the first record", out);
      Check(taviro::LocalPathFromStored(taviro::ListField(records.front(), 1).value_or("")) == path,
            "an added file's path reads back", out);
      const std::vector<std::string_view> rest(records.begin() + 1, records.end());
      Check(rest.size() <= 100 && IsSubsequence(rest, old_records), "an add keeps old records in order", out);
      for (const std::string_view line : rest) {
        Check(taviro::ListField(line, 1) != taviro::StoredLocalPath(path),
              "an add leaves no other record of its path", out);
      }
      break;
    }
    case 2:
    case 3: {
      out = operation == 2 ? taviro::NetworkListAfterPositionUpdate(list, id, position)
                           : taviro::LocalListAfterPositionUpdate(list, path, position);
      const std::vector<std::string_view> records = Records(out);
      Check(records.size() == old_records.size(), "an update keeps every record", out);
      for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i] == old_records[i]) continue;
        Check(records[i].ends_with("|" + std::to_string(position)), "an update changes only the position",
              out);
        // A short record is completed up to its position field, never beyond.
        const long full = operation == 2 ? 6 : 2;
        Check(std::count(records[i].begin(), records[i].end(), '|') <=
                  std::max<long>(full, std::count(old_records[i].begin(), old_records[i].end(), '|')),
              "an update adds no field beyond a full record", out);
      }
      break;
    }
    default: {
      const int line_number = position;
      out = taviro::ListAfterDelete(list, line_number);
      std::vector<std::string_view> expected;
      int n = 0;
      for (const std::string_view line : taviro::SplitLines(list)) {
        if (++n != line_number && taviro::IsRecordLine(line)) expected.push_back(line);
      }
      Check(Records(out) == expected, "a delete removes exactly its line's record", out);
      break;
    }
  }
  Check(out.ends_with("\r\n"), "a list ends with a line end", out);
  CheckPage(
      operation == 1 || operation == 3 ? taviro::ListFile::kLocalFiles : taviro::ListFile::kNetworkTasks,
      out);
  return 0;
}
