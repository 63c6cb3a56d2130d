// printf-style formatting into a std::string, for the tables and pictures the views draw.
#pragma once

#include <cstdio>
#include <string>

namespace compattatore {

/// printf-style formatting into a string of any length.
template <class... A>
std::string formatta(const char* modello, A... valori) {
  const int n = std::snprintf(nullptr, 0, modello, valori...);
  if (n <= 0) return {};
  std::string s(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(s.data(), s.size(), modello, valori...);
  s.pop_back();
  return s;
}

}  // namespace compattatore
