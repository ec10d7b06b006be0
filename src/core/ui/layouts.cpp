#include "core/ui/layouts.h"

#include "core/ui/z_order.h"

namespace harumado::ui {
namespace {

const std::wstring kGothic = L"ＭＳ Ｐゴシック";

Font Gothic(double size, int weight = 400) { return Font{kGothic, 128, size, weight}; }

ControlSpec Spec(std::wstring name, ControlKind kind, std::wstring text, TwipsRect rect, int tab) {
  ControlSpec s;
  s.name = std::move(name);
  s.kind = kind;
  s.text = std::move(text);
  s.rect = rect;
  s.tab_index = tab;
  return s;
}

}  // namespace

std::unique_ptr<Window> MakeMainWindowLayout() {
  WindowSpec ws;
  ws.name = L"Form1";
  ws.caption = L"Harumado";
  ws.frame = Frame::kFixedSingle;
  ws.min_button = true;
  ws.max_button = false;
  ws.client_width = 3915;
  ws.client_height = 1395;
  ws.back = colors::kLightGreen;
  ws.icon = L"main_icon";
  ws.client_left = 12465;
  ws.client_top = 3495;
  auto w = std::make_unique<Window>(ws);

  auto text1 = Spec(L"Text1", ControlKind::kTextField, L"1", {80, 80, 220, 280}, 1);
  text1.fore = colors::kTextGreen;
  text1.font = Gothic(9.75, 700);
  text1.ime = ImeMode::kHalfWidthAlphanumeric;
  w->Add(text1);

  auto command5 = Spec(L"Command5", ControlKind::kGraphicalButton, L"オフセットの\r\n更新を停止",
                       {1800, 960, 1100, 400}, 2);
  command5.back = colors::kMediumGreen;
  command5.font = Gothic(8.25);
  command5.wrap_caption = true;
  w->Add(command5);

  auto command8 = Spec(L"Command8", ControlKind::kGraphicalButton,
                       L"1.ファイル名を入力\r\n2.開始ボタン　　　　", {0, 1440, 1455, 495}, 3);
  command8.back = colors::kLightYellow;
  command8.font = Gothic(8.25);
  command8.wrap_caption = true;
  w->Add(command8);

  auto text2 = Spec(L"Text2", ControlKind::kTextField, L"", {50, 400, 3855, 520}, 4);
  text2.fore = colors::kBlue;
  text2.back = Color{255, 255, 255};
  text2.multiline = true;
  text2.horizontal_scroll = true;
  w->Add(text2);

  auto text3 = Spec(L"Text3", ControlKind::kTextField, L"", {1480, 70, 1455, 285}, 5);
  text3.font = Gothic(9.75);
  text3.ime = ImeMode::kHalfWidthAlphanumeric;
  w->Add(text3);

  auto label1 = Spec(L"Label1", ControlKind::kLabel, L"ファイル名", {700, 185, 735, 135}, 6);
  label1.back = colors::kLightGreen;
  label1.font = Gothic(8.25);
  w->Add(label1);

  auto command10 =
      Spec(L"Command10", ControlKind::kGraphicalButton, L"使い方", {3240, 120, 615, 255}, 7);
  command10.back = colors::kLightGreen;
  command10.font = Gothic(8.25);
  w->Add(command10);

  auto column_label = Spec(L"列", ControlKind::kLabel, L"列", {320, 180, 170, 140}, 8);
  column_label.back = colors::kLightGreen;
  column_label.font = Gothic(8.25);
  w->Add(column_label);

  auto command1 = Spec(L"Command1", ControlKind::kGraphicalButton, L"", {40, 1000, 750, 270}, 9);
  command1.back = colors::kLightGreen;
  command1.picture = L"cell_frame";
  w->Add(command1);

  auto check2 = Spec(L"Check2", ControlKind::kCheckBox, L"整数", {3000, 1000, 945, 300}, 10);
  check2.back = colors::kLightGreen;
  check2.value = 1;
  w->Add(check2);

  auto check3 = Spec(L"Check3", ControlKind::kCheckBox, L"読上", {840, 960, 705, 390}, 11);
  check3.back = colors::kLightGreen;
  check3.value = 0;
  w->Add(check3);

  auto command2 = Spec(L"Command2", ControlKind::kGraphicalButton, L"", {1560, 1040, 200, 200}, 12);
  command2.back = colors::kCyan;
  command2.tooltip = L"列幅の自動調整";
  w->Add(command2);

  auto check4 = Spec(L"Check4", ControlKind::kCheckBox, L"", {3000, 80, 150, 180}, 13);
  check4.value = 1;
  check4.tooltip = std::wstring(kTopmostTooltip);
  check4.box_only = true;
  w->Add(check4);

  auto timer1 = Spec(L"Timer1", ControlKind::kTimer, L"", {}, 0);
  timer1.enabled = false;
  timer1.interval = 0;
  w->Add(timer1);

  auto timer2 = Spec(L"Timer2", ControlKind::kTimer, L"", {}, 0);
  timer2.enabled = true;
  timer2.interval = 0;
  w->Add(timer2);
  return w;
}

std::unique_ptr<Window> MakeUsageWindowLayout() {
  WindowSpec ws;
  ws.name = L"Form2";
  ws.caption = L"Form2";
  ws.frame = Frame::kBorderless;
  ws.client_width = 8055;
  ws.client_height = 12405;
  auto w = std::make_unique<Window>(ws);
  auto image1 = Spec(L"Image1", ControlKind::kImage, L"", {0, 0, 8070, 12390}, 0);
  image1.picture = L"usage_page";
  w->Add(image1);
  return w;
}

std::unique_ptr<Window> MakeSpeechWindowLayout() {
  WindowSpec ws;
  ws.name = L"Form3";
  ws.caption = L"クリックボードの読み上げ";
  ws.frame = Frame::kFixedSingle;
  ws.client_width = 2820;
  ws.client_height = 960;
  ws.back = colors::kLightGreen;
  ws.icon = L"speech_icon";
  auto w = std::make_unique<Window>(ws);
  w->Add(Spec(L"HScroll1", ControlKind::kSlider, L"", {50, 250, 1335, 255}, 1));
  w->Add(Spec(L"HScroll2", ControlKind::kSlider, L"", {1460, 250, 1335, 255}, 2));
  auto command1 = Spec(L"Command1", ControlKind::kButton, L"Command1", {120, 1080, 2535, 440}, 3);
  command1.font = Gothic(8.25);
  w->Add(command1);
  auto picture1 = Spec(L"Picture1", ControlKind::kPicture, L"", {50, 0, 2775, 255}, 4);
  picture1.picture = L"slider_labels";
  w->Add(picture1);
  auto command2 =
      Spec(L"Command2", ControlKind::kButton, L"読み上げ中止", {720, 600, 1335, 300}, 5);
  command2.font = Gothic(8.25);
  w->Add(command2);
  return w;
}

}  // namespace harumado::ui
