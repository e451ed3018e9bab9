#pragma once
// The line list: an ordered list of text lines. Joining ends every line with
// CR LF; splitting ends a line at CR LF, a lone CR or a lone LF, adds no empty
// line for a final line end and stops at the first NUL.
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

template <class Char> class BasicLineList {
  public:
    using String = std::basic_string<Char>;
    using View = std::basic_string_view<Char>;

    BasicLineList() = default;
    explicit BasicLineList(View text) { SetText(text); }

    void Clear() { lines_.clear(); }
    void Add(View line) { lines_.emplace_back(line); }
    size_t Count() const { return lines_.size(); }
    const String& operator[](size_t i) const { return lines_[i]; }
    const std::vector<String>& Lines() const { return lines_; }

    // Replaces the lines with those of `text`.
    void SetText(View text) {
        lines_.clear();
        size_t i = 0;
        const size_t n = text.size();
        while (i < n && text[i] != Char(0)) {
            size_t start = i;
            while (i < n && text[i] != Char(0) && text[i] != Char('\r') && text[i] != Char('\n'))
                ++i;
            lines_.emplace_back(text.substr(start, i - start));
            if (i < n && text[i] == Char('\r')) {
                ++i;
                if (i < n && text[i] == Char('\n')) ++i;
            } else if (i < n && text[i] == Char('\n')) {
                ++i;
            }
        }
    }

    // Every line followed by CR LF.
    String Text() const {
        size_t size = 0;
        for (const String& l : lines_)
            size += l.size() + 2;
        String out;
        out.reserve(size);
        for (const String& l : lines_) {
            out += l;
            out += Char('\r');
            out += Char('\n');
        }
        return out;
    }

  private:
    std::vector<String> lines_;
};

using LineList = BasicLineList<char>;
using WideLineList = BasicLineList<wchar_t>;

} // namespace tabulon
