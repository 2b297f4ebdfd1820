#include "main/draft_list.h"

#include "layers/text.h"

namespace quillon {

namespace {

ModifierMask modifierBit(std::string_view token) {
  const std::string name = lower(trim(token));
  for (std::size_t bit = 0; bit < modifierNames.size(); ++bit)
    if (lower(modifierNames[bit]) == name) return ModifierMask{1} << bit;
  return 0;
}

// source=mod+mod+target: every piece after '=' but the last is a modifier.
void listRow(DraftListing& listing, std::string_view line) {
  const std::size_t equals = line.find('=');
  const KeyCode source = key(line.substr(0, equals));
  const std::string_view right = line.substr(equals + 1);
  const std::size_t lastPlus = right.rfind('+');
  BindingRow row;
  if (lastPlus != std::string_view::npos)
    forEachPiece(right.substr(0, lastPlus), '+',
                 [&](std::string_view piece) { row.mask |= modifierBit(piece); });
  row.target = static_cast<std::int32_t>(
      key(lastPlus == std::string_view::npos ? right : right.substr(lastPlus + 1)));
  listing.rows.push_back(source);
  listing.bindings[source] = row;
  if (listing.selectedSource == noKey) listing.selectedSource = source;
}

}  // namespace

DraftListing listRows(std::string_view text, KeyCode selectedLayer, KeyCode selectedSource) {
  DraftListing listing;
  listing.layout = layout(text);
  listing.selectedLayer = selectedLayer;
  listing.selectedSource = selectedSource;
  KeyCode current = noKey;
  forEachLine(text, [&](std::string_view raw) {
    const std::string_view line = trim(raw);
    if (line.empty() || line.front() == '#' || line.front() == ';') return true;
    if (line.front() == '[') {
      current = lower(line) == "[program]" ? noKey : layerKey(line.substr(1, line.size() - 2));
      if (current == noKey) return true;
      listing.layers.push_back(current);
      if (listing.selectedLayer == noKey) listing.selectedLayer = current;
      return true;
    }
    if (current != noKey && current == listing.selectedLayer) listRow(listing, line);
    return true;
  });
  listing.timing = timing(listing.layout, listing.selectedLayer);
  return listing;
}

std::string rowText(const KeyNames& names, KeyCode source, const BindingRow& row) {
  std::string text = names.names[static_cast<std::size_t>(source)];
  text += '\t';
  for (std::size_t bit = 0; bit < modLabels.size(); ++bit) {
    if ((row.mask & (ModifierMask{1} << bit)) == 0) continue;
    text += modLabels[bit];
    text += " + ";
  }
  text += names.names[static_cast<std::size_t>(row.target) & 0xFF];
  return text;
}

}  // namespace quillon
