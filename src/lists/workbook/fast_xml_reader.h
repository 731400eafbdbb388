#pragma once

#include <QIODevice>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel::workbook {

// A small pull reader for the two large parts of an .xlsx, the worksheet and the shared strings.
// QXmlStreamReader turns every byte into UTF-16 and builds a QString for every token; over a
// sheet of a million rows that is most of the import's time. This reader works on the UTF-8
// bytes in place: elements, attributes, character data with the five entities and character
// references, CDATA, comments and processing instructions. A DOCTYPE is refused (no entity
// expansion from a file we did not write). Names are local names (any prefix dropped).
class FastXmlReader {
 public:
  enum class Token { StartElement, EndElement, Characters, EndOfDocument, Error };

  explicit FastXmlReader(QIODevice* device) : device_(device) {}

  Token Next();
  // Valid until the next call of Next().
  std::string_view name() const { return name_; }
  std::string_view Attribute(std::string_view localName) const;  // raw value, "" when absent
  const std::string& text() const { return text_; }
  bool hasError() const { return error_; }

  // Skips to the end tag of the element just started.
  void SkipElement();
  // The character data of the element just started and its descendants, leaving out elements
  // named `skip`; ends on the element's end tag.
  std::string ElementText(std::string_view skip = {});

 private:
  bool Fill();
  Token Fail() {
    error_ = true;
    return Token::Error;
  }
  bool ParseTag(std::size_t end);
  static void Decode(std::string_view raw, std::string& out);

  QIODevice* device_;
  std::string buffer_;
  std::size_t pos_ = 0;
  bool eof_ = false;
  bool error_ = false;
  bool pendingEnd_ = false;
  int depth_ = 0;
  std::string_view name_;
  std::vector<std::pair<std::string_view, std::string_view>> attributes_;
  std::string text_;
};

}  // namespace kavrel::workbook
