// The line the editor asks for in its panel, and what it opens or starts with the answer: another
// level's file, or a new level of a size and a name.
#include <sstream>

#include "app/key_names.hpp"
#include "app/lasting_notice.hpp"
#include "base/backends.hpp"
#include "base/whole_file.hpp"
#include "editor/editor.hpp"
#include "formats/level_map_file.hpp"

namespace fs = std::filesystem;

namespace {

// "4 x 2", "4x2" or "4 2": a level's width and height in screens, when the game takes that size.
std::optional<std::pair<int, int>> ReadSize(std::string text) {
  for (char& c : text) {
    if (c == 'x' || c == 'X') c = ' ';
  }
  std::istringstream in(text);
  int width = 0;
  int height = 0;
  std::string rest;
  if (!(in >> width >> height) || in >> rest) return std::nullopt;
  if (width < 1 || width > kMaxMapWidth || height < 1 || height > kMaxMapHeight ||
      width * height > kMaxLevelScreens) {
    return std::nullopt;
  }
  return std::pair{width, height};
}

}  // namespace

void Editor::Ask(Prompt::For what, std::string question, std::string answer,
                 std::size_t selectFrom) {
  prompt_ = Prompt{what, std::move(question), PromptLine(std::move(answer), selectFrom)};
  backends.platform->SetTextEntry(true);
  message_ = "Enter: done   Escape: never mind";
}

void Editor::CloseAsk() {
  prompt_.reset();
  backends.platform->SetTextEntry(false);
}

void Editor::HandlePromptKey(int key) {
  switch (key) {
    case vk::Return:
      Answer();
      return;
    case vk::Escape:
      CloseAsk();
      message_.clear();
      return;
    default:
      // The characters come as text; the editing keys move the caret or erase.
      prompt_->answer.Key(key);
      return;
  }
}

std::string Editor::FileFolder() const {
  const fs::path folder = setup_.file.parent_path();
  return folder.empty() ? std::string() : (folder / "").string();
}

void Editor::Answer() {
  const std::string answer = prompt_->answer.Text();
  switch (prompt_->what) {
    case Prompt::For::Open:
      if (OpenFile(answer)) CloseAsk();
      return;
    case Prompt::For::NewSize:
      if (std::optional<std::pair<int, int>> size = ReadSize(answer)) {
        newSize_ = *size;
        // Only the name is selected: the folder is most likely where the new level goes too.
        Ask(Prompt::For::NewName, "the new level's file: ", FileFolder() + "new.lvl",
            FileFolder().size());
      } else {
        message_ = "a level is 1..25 screens wide, 1..16 high, at most 100 in all, as 4 x 2";
      }
      return;
    case Prompt::For::NewName:
      if (answer.empty() || fs::exists(answer)) {
        message_ = answer + " already exists (Ctrl+O opens it): another name, please";
        if (answer.empty()) message_ = "a name, please";
        return;
      }
      CloseAsk();
      ShowDocument(answer, LevelDocument::New(newSize_.first, newSize_.second, kNewLevelCell));
      message_ = "a new level: Ctrl+S saves it as " + answer;
      return;
  }
}

bool Editor::OpenFile(const fs::path& file) {
  std::optional<std::string> text = ReadWholeFile(file);
  if (!text) {
    message_ = (fs::exists(file) ? "cannot read " : "no file ") + file.string();
    return false;
  }
  LevelDocument::Opened opened = LevelDocument::Open(*text);
  if (!opened.document) {
    message_ = file.string() + " cannot be opened";
    PostLastingNotice(message_ + ":", opened.error);
    return false;
  }
  ShowDocument(file, std::move(*opened.document));
  message_ = "opened " + file.string();
  return true;
}

void Editor::ShowDocument(fs::path file, LevelDocument document) {
  setup_.file = std::move(file);
  setup_.document = std::move(document);
  askedKey_ = 0;
  selected_.reset();
  placing_ = 0;
  drag_ = Drag::None;
  stroke_.clear();
  gridVersion_ = -1;
  pictureVersion_ = -1;
  showPicture_ = false;
  const LevelSource& src = doc_.Source();
  view_.SetLevel(src.width * kScreenWidth, src.height * kScreenHeight);
  view_.Fit();
  Recheck();
}
