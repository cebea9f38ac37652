// The one-line prompt box: a plain top-level window with a label, an edit
// field, "OK" and "Annuler", made on first use and hidden between uses; with
// choices, a drop-down list of them under the edit field.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/win/base_window.h"

namespace velbrook::app {

class PromptBox : public BaseWindow {
 public:
  explicit PromptBox(HINSTANCE instance) : instance_(instance) {}
  ~PromptBox() override;

  // Shows the box and waits while it is visible, polling with PeekMessage;
  // returns the confirmed text, or empty text when the user cancelled.
  std::string PromptText(const std::string& caption, const std::string& label,
                         const std::string& default_text);
  // The same with a drop-down list of `choices` under the edit field, its
  // label `choice_label`, `*chosen` picked first; once the box is hidden,
  // `*chosen` is the choice picked then.
  std::string PromptText(const std::string& caption, const std::string& label,
                         const std::string& default_text, const std::string& choice_label,
                         const std::vector<std::string>& choices, int* chosen);

  // Creates the window and its controls when they do not exist yet.
  bool EnsureCreated();
  // The window that owns the box; set before its first use.
  void set_owner(HWND owner) { owner_ = owner; }

  HWND label() const { return label_; }
  HWND edit() const { return edit_; }
  HWND ok_button() const { return ok_; }
  HWND cancel_button() const { return cancel_; }
  HWND choice_label() const { return choice_label_; }
  HWND choice_list() const { return choice_list_; }

  static constexpr int kOkId = 1;
  static constexpr int kCancelId = 2;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Confirm();
  void Cancel();
  // Sets the texts, shows the box and waits while it is visible.
  std::string Ask(const std::string& caption, const std::string& label,
                  const std::string& default_text);
  // Shows or hides the choice controls, the buttons below them, and sizes
  // the box around them, centred on the screen.
  void Arrange(bool with_choices);
  static LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam,
                                   UINT_PTR id, DWORD_PTR self);

  HINSTANCE instance_;
  HWND owner_ = nullptr;
  HWND label_ = nullptr;
  HWND edit_ = nullptr;
  HWND ok_ = nullptr;
  HWND cancel_ = nullptr;
  HWND choice_label_ = nullptr;
  HWND choice_list_ = nullptr;
};

}  // namespace velbrook::app
