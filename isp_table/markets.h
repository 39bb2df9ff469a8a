// The markets a firmware ships to (--only): only the public rows there go
// into the table.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "sources.h"

/// Country codes as the provider database writes them (kept in upper
/// case) and MCCs.
struct Markets {
  std::set<std::string> countries, mccs;
  std::map<std::string, std::string> typed;  // a market as kept -> as the list gave it first
};

/// Reads a comma list of two-letter country codes and three-digit MCCs.
/// False when an item is neither.
bool read_markets(const std::string &list, Markets *markets);

/// Keeps in `sources` only the listings in `markets`: a listing whose
/// region is a chosen country whole, any other with only its networks under
/// a chosen MCC; and only the networks under a chosen MCC or that a kept
/// listing names. Every figure the merge counts then counts those markets.
/// Returns the markets that no listing or network of `sources` is in, as
/// the list gave them.
std::vector<std::string> keep_markets(const Markets &markets, std::vector<Source> *sources);
