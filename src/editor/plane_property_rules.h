#pragma once
// What the editor's dialogs do when the user presses OK: the plane property pages (parallax,
// size, reference tile, display mask, conditions, bits), the bits display's toggling, the links
// dialog, the block size change and the pick in the specimen window. The window collects the
// fields; these functions apply them. A false result means the dialog stays open.
#include <cstdint>
#include <string>
#include <vector>

#include "editor/plane_record.h"

namespace ts {

struct App;

// Largest map the editor makes by resizing or regrouping (cells).
constexpr int64_t kMaxEditorCells = int64_t(16) << 20;

// General page: speeds in percent (0 or not positive: unchanged). A factor above 1 asks whether
// every plane should be scaled down instead; No applies nothing and gives false.
bool applyParallax(App& app, int slot, double percentX, double percentY);

// General page: the visible flag, "Do not open the next time" and the snap grid (a step of 0
// keeps the old one).
void applyGeneralPage(App& app, int slot, bool visible, bool skipNextTime, int32_t gridX, int32_t gridY);

// Options sheet, "Planes" page: grid shown, grid colour and the opacities (above 255 stored as 255).
void applyPlanesOptions(App& app, bool gridShown, uint32_t gridColor, int32_t alphaGrid, int32_t alphaForeground,
                        int32_t alphaGfx, int32_t alphaHex);

// Options sheet, "Specimen" page: adds a plane (hidden in the main view) or takes it out again
// (shown again). False when nothing changed.
bool addSpecimenPlane(App& app, int slot);
bool removeSpecimenPlane(App& app, int slot);

// Properties page. A mask of 0 keeps the old mask; a reference tile at or above the tile count
// is refused with a message (the rest still applies); a new size reallocates the cells and
// restarts the group's histories. False (and the map unchanged) when the new size cannot be had.
bool applyPlaneProperties(App& app, int slot, int32_t width, int32_t height, int32_t referenceTile,
                          uint32_t displayMask);

// Conditions page. The fields are script values; an empty high means high = low; low and high
// are swapped when high < low. False when low or target is missing.
bool ruleFromFields(const std::string& low, const std::string& high, const std::string& target, bool exact,
                    ValueRule& out);
// Appends a rule unless the same rule is there or the list holds 20. False when nothing was added.
bool addRule(std::vector<ValueRule>& rules, const ValueRule& rule);
bool modifyRule(std::vector<ValueRule>& rules, int index, const ValueRule& rule);
bool deleteRule(std::vector<ValueRule>& rules, int index);
// The list's line for a rule: "%x-%x -> %x %s".
std::string ruleLine(const ValueRule& rule);
// OK: the plane takes the page's rules (at most 20).
void applyRules(PlaneRecord& plane, const std::vector<ValueRule>& rules);

// Bits page: the list line of bit b ("%02i: %s (%s)") and the Update button (label cut to 30).
std::string bitLine(const PlaneRecord& plane, int bit);
void updateBit(PlaneRecord& plane, int bit, const std::string& label, bool shown);

// Bits display: sets or clears bit b in the active plane's layer of the store (holes and, with
// bits.zeromask, zeros left alone), or in the current pattern when the store is empty.
void toggleBit(App& app, int bit, bool set);

// Links dialog OK: the active plane's old partners get lists of their own, then the text goes to
// Maps.Link (an empty text links the active plane alone).
void applyLinks(App& app, const std::string& text);
// The text the dialog starts with: the active plane's link list ("1, 2, 3").
std::string linksText(App& app);

// Block size change of the active plane from blocks of ow x oh pixels to the editor's block size.
// False (map unchanged) for sizes that are not 8, 16, 32 or 64 or when memory is short.
bool changeBlockSize(App& app, int ow, int oh);

// Specimen window: copies the cells col0,row0 - col1,row1 (any corner order) of every specimen
// plane that is a map (at most five) into the store. False when the rectangle leaves the first
// specimen plane or is too big for the store.
bool pickSpecimen(App& app, int col0, int row0, int col1, int row1);

}  // namespace ts
