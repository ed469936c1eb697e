// A level source being edited: its text line by line as the file has it (comments, blank lines,
// spacing, names or numbers and line ends kept), and the level that text says. Each edit changes
// only the lines it must, is checked by the one level parser (an edit that would break the
// level changes nothing), and is one step of an undo history without limit.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editing/level_source.hpp"

class LevelDocument {
 public:
  struct Opened;
  // The document of a source text, or the parser's line-numbered message.
  static Opened Open(const std::string& text);
  // A new level of width x height screens at `cellPx` px per grid character: empty space with
  // the player standing at the left.
  static LevelDocument New(int width, int height, int cellPx);

  const LevelSource& Source() const { return source_; }
  const LevelSourceLines& Lines() const { return where_; }
  // The text to save: the opened text, byte for byte, where nothing was edited.
  std::string Text() const;
  // Whether the text differs from the one opened or last saved.
  bool Modified() const { return version_ != savedVersion_; }
  // Tells texts apart: each edit, undo and redo leads to a version of its own.
  long Version() const { return version_; }
  void MarkSaved() { savedVersion_ = version_; }

  // Fills grid characters [col0..col1] x [row0..row1] (in either order; clipped to the grid).
  bool Paint(int col0, int row0, int col1, int row1, char glyph);
  // Fills each (column, row) of a stroke; those outside the grid are left out. One step.
  bool PaintCells(const std::vector<std::pair<int, int>>& cells, char glyph);
  // A character after the others; the player is only ever the first and only one.
  bool AddCharacter(const LevelCharacter& character);
  // Character k's new kind, wake-up rule or place.
  bool ChangeCharacter(std::size_t k, const LevelCharacter& character);
  // Any character but the player.
  bool DeleteCharacter(std::size_t k);
  bool AddItem(const LevelItem& item);
  bool ChangeItem(std::size_t k, const LevelItem& item);
  bool DeleteItem(std::size_t k);
  // A new size in screens: the grid cut or widened with empty space on the right and at the
  // bottom; refused while a character or item would be left outside.
  bool Resize(int width, int height);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  bool Undo();
  bool Redo();

 private:
  // Lines [at, at + removed) replaced by `inserted`.
  struct Change {
    std::size_t at = 0;
    std::vector<std::string> removed;
    std::vector<std::string> inserted;
  };
  struct Step {
    std::vector<Change> changes;  // applied in order, undone in reverse
    long version = 0;             // the version the step leads to
    long before = 0;              // the version it starts from
  };

  LevelDocument() = default;
  bool Reparse();
  bool Commit(std::vector<Change> changes);
  void Apply(const std::vector<Change>& changes);
  void Revert(const std::vector<Change>& changes);
  // A line of the file's own line end (a line break of "\r\n" keeps its "\r").
  std::string Line(std::string text) const;
  // `content` in place of what line `at` says before its comment, the comment kept.
  std::string Rewrite(std::size_t at, const std::string& content) const;
  Change ReplaceLine(std::size_t at, const std::string& content) const;
  // `content` as a new line `at`.
  Change InsertLine(std::size_t at, const std::string& content) const;
  std::size_t InsertAfter(const std::vector<int>& lines, int fallback) const;

  std::vector<std::string> lines_;
  LevelSource source_;
  LevelSourceLines where_;
  std::vector<Step> undo_;
  std::vector<Step> redo_;
  long version_ = 0;
  long savedVersion_ = 0;
  long lastVersion_ = 0;
};

struct LevelDocument::Opened {
  std::optional<LevelDocument> document;
  std::string error;
};
