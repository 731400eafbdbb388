#include "lists/workbook/fast_xml_reader.h"

#include <cstring>

namespace kavrel::workbook {

namespace {

constexpr std::size_t kChunk = 256 * 1024;
constexpr std::size_t kLongestToken = 64u << 20;  // a cell holds at most 32,767 characters

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view LocalName(std::string_view name) {
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

void AppendCodePoint(std::string& out, unsigned long cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x110000) {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

bool FastXmlReader::Fill() {
  if (eof_) return false;
  if (pos_ > 0) {
    buffer_.erase(0, pos_);
    pos_ = 0;
  }
  if (buffer_.size() > kLongestToken) return false;
  const std::size_t old = buffer_.size();
  buffer_.resize(old + kChunk);
  const qint64 n = device_->read(buffer_.data() + old, static_cast<qint64>(kChunk));
  buffer_.resize(old + static_cast<std::size_t>(n > 0 ? n : 0));
  if (n <= 0) eof_ = true;
  return n > 0;
}

void FastXmlReader::Decode(std::string_view raw, std::string& out) {
  out.clear();
  std::size_t amp = raw.find('&');
  if (amp == std::string_view::npos) {
    out.assign(raw);
    return;
  }
  std::size_t from = 0;
  while (amp != std::string_view::npos) {
    out.append(raw.substr(from, amp - from));
    const std::size_t semi = raw.find(';', amp);
    if (semi == std::string_view::npos || semi - amp > 12) {
      out += '&';  // not an entity: keep the ampersand as written
      from = amp + 1;
    } else {
      const std::string_view entity = raw.substr(amp + 1, semi - amp - 1);
      if (entity == "lt")
        out += '<';
      else if (entity == "gt")
        out += '>';
      else if (entity == "amp")
        out += '&';
      else if (entity == "quot")
        out += '"';
      else if (entity == "apos")
        out += '\'';
      else if (entity.size() > 1 && entity[0] == '#') {
        const bool hex = entity[1] == 'x' || entity[1] == 'X';
        unsigned long cp = 0;
        for (std::size_t i = hex ? 2 : 1; i < entity.size(); ++i) {
          const char c = entity[i];
          int digit = -1;
          if (c >= '0' && c <= '9')
            digit = c - '0';
          else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
          else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
          if (digit < 0 || cp > 0x10FFFF) {
            cp = 0xFFFD;
            break;
          }
          cp = cp * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
        }
        AppendCodePoint(out, cp);
      } else {
        out.append(raw.substr(amp, semi - amp + 1));
      }
      from = semi + 1;
    }
    amp = raw.find('&', from);
  }
  out.append(raw.substr(from));
}

bool FastXmlReader::ParseTag(std::size_t end) {
  // buffer_[pos_] == '<', buffer_[end] == '>'.
  std::string_view tag(buffer_.data() + pos_ + 1, end - pos_ - 1);
  const bool selfClosing = !tag.empty() && tag.back() == '/';
  if (selfClosing) tag.remove_suffix(1);
  std::size_t i = 0;
  while (i < tag.size() && !IsSpace(tag[i])) ++i;
  if (i == 0) return false;
  name_ = LocalName(tag.substr(0, i));
  attributes_.clear();
  while (i < tag.size()) {
    while (i < tag.size() && IsSpace(tag[i])) ++i;
    if (i >= tag.size()) break;
    const std::size_t nameStart = i;
    while (i < tag.size() && tag[i] != '=' && !IsSpace(tag[i])) ++i;
    const std::string_view attrName = tag.substr(nameStart, i - nameStart);
    while (i < tag.size() && IsSpace(tag[i])) ++i;
    if (i >= tag.size() || tag[i] != '=') return false;
    ++i;
    while (i < tag.size() && IsSpace(tag[i])) ++i;
    if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\'')) return false;
    const char quote = tag[i++];
    const std::size_t valueEnd = tag.find(quote, i);
    if (valueEnd == std::string_view::npos) return false;
    attributes_.emplace_back(LocalName(attrName), tag.substr(i, valueEnd - i));
    i = valueEnd + 1;
  }
  pendingEnd_ = selfClosing;
  pos_ = end + 1;
  return true;
}

std::string_view FastXmlReader::Attribute(std::string_view localName) const {
  for (const auto& [n, v] : attributes_)
    if (n == localName) return v;
  return {};
}

FastXmlReader::Token FastXmlReader::Next() {
  if (error_) return Token::Error;
  if (pendingEnd_) {
    pendingEnd_ = false;
    return Token::EndElement;
  }
  while (true) {
    if (pos_ >= buffer_.size() && !Fill()) return depth_ == 0 ? Token::EndOfDocument : Fail();
    const char* data = buffer_.data();
    const std::size_t size = buffer_.size();
    if (data[pos_] != '<') {
      const void* lt = std::memchr(data + pos_, '<', size - pos_);
      if (lt == nullptr) {
        if (Fill()) continue;
        if (depth_ != 0) return Fail();
        pos_ = buffer_.size();
        continue;  // whitespace after the root element
      }
      const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(lt) - data);
      Decode(std::string_view(data + pos_, end - pos_), text_);
      pos_ = end;
      return Token::Characters;
    }
    // A markup token: make sure the buffer holds it whole before looking inside.
    const std::string_view rest(data + pos_, size - pos_);
    auto need = [&](std::string_view terminator, std::size_t from) -> std::size_t {
      return rest.find(terminator, from);
    };
    std::size_t end = std::string_view::npos;
    if (rest.size() < 9 && !eof_) {
      Fill();  // moves the buffer even when nothing more comes: look again either way
      continue;
    }
    if (rest.substr(0, 2) == "<?") {
      end = need("?>", 2);
      if (end == std::string_view::npos) {
        if (Fill()) continue;
        return Fail();
      }
      pos_ += end + 2;
      continue;
    }
    if (rest.substr(0, 4) == "<!--") {
      end = need("-->", 4);
      if (end == std::string_view::npos) {
        if (Fill()) continue;
        return Fail();
      }
      pos_ += end + 3;
      continue;
    }
    if (rest.substr(0, 9) == "<![CDATA[") {
      end = need("]]>", 9);
      if (end == std::string_view::npos) {
        if (Fill()) continue;
        return Fail();
      }
      text_.assign(rest.substr(9, end - 9));
      pos_ += end + 3;
      return Token::Characters;
    }
    if (rest.substr(0, 2) == "<!") return Fail();  // DOCTYPE and friends
    // An element tag; '>' may stand inside a quoted attribute value.
    char quote = 0;
    for (std::size_t i = 1; i < rest.size(); ++i) {
      const char c = rest[i];
      if (quote != 0) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '>') {
        end = i;
        break;
      }
    }
    if (end == std::string_view::npos) {
      if (Fill()) continue;
      return Fail();
    }
    if (rest[1] == '/') {
      std::string_view tagName = rest.substr(2, end - 2);
      while (!tagName.empty() && IsSpace(tagName.back())) tagName.remove_suffix(1);
      name_ = LocalName(tagName);
      pos_ += end + 1;
      if (--depth_ < 0) return Fail();
      return Token::EndElement;
    }
    if (!ParseTag(pos_ + end)) return Fail();
    ++depth_;
    if (pendingEnd_) --depth_;
    return Token::StartElement;
  }
}

void FastXmlReader::SkipElement() {
  int depth = 0;
  while (true) {
    switch (Next()) {
      case Token::StartElement:
        ++depth;
        break;
      case Token::EndElement:
        if (depth-- == 0) return;
        break;
      case Token::Characters:
        break;
      default:
        return;
    }
  }
}

std::string FastXmlReader::ElementText(std::string_view skip) {
  std::string out;
  int depth = 0;
  while (true) {
    switch (Next()) {
      case Token::StartElement:
        if (!skip.empty() && name_ == skip)
          SkipElement();
        else
          ++depth;
        break;
      case Token::EndElement:
        if (depth-- == 0) return out;
        break;
      case Token::Characters:
        out += text_;
        break;
      default:
        return out;
    }
  }
}

}  // namespace kavrel::workbook
