#include "results/result_window.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "results/command_label.h"
#include "results/export/draw_history_list.h"
#include "results/latest_award_panel.h"
#include "results/picture_strip.h"
#include "results/result_pictures.h"
#include "results/result_texts.h"
#include "results/screen_cover.h"
#include "results/title_label.h"
#include "results/winner_show_list.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/receipt_log.h"
#include "storage/result_store.h"
#include "storage/stage_settings.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

constexpr int kBand = WinnerShowScroll::kBandHeight;
const QColor kYellow(255, 255, 0);
constexpr qsizetype kMaxTitleLength = 250;

// Data texts end their lines with CR LF; Qt's text widgets want LF alone.
QString ToQtLines(const std::string& gb) {
  QString text = ToQt(gb);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

QFont Font(const char* family, int pointSize, bool bold) {
  QFont font(QString::fromUtf8(family));
  font.setPointSize(pointSize);
  font.setBold(bold);
  return font;
}

}  // namespace

ResultWindow::ResultWindow(ResultViewMode mode, SoundPort& sound, const Clock& clock,
                           const SoundSettings& soundSettings, const StageTitles& titles, const CurrentResults& current,
                           QWidget* parent, QRect screen, const DrawRecord* past)
    : QDialog(parent),
      mode_(mode),
      past_(past ? std::optional<DrawRecord>(*past) : std::nullopt),
      current_(&current),
      music_(sound, soundSettings.resultMusicOn, soundSettings.resultMusicFile, soundSettings.resultMusicLoop) {
  setObjectName(QStringLiteral("ResultWindow"));
  setWindowModality(Qt::ApplicationModal);
  if (screen.isEmpty()) {
    QScreen* on = parent ? parent->screen() : QGuiApplication::primaryScreen();
    screen = on ? on->geometry() : QRect(0, 0, 1024, 768);
  }
  QScreen* covered = ScreenForArea(screen, parent);
  const bool wholeScreen = covered && covered->geometry() == screen;
  if (mode_ == ResultViewMode::WinnerShow) setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  PlaceOnScreen(*this, covered, screen);
  timer_.setObjectName(QStringLiteral("时钟1"));
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &ResultWindow::ScrollTick);

  music_.StartOnOpening(mode_);

  switch (mode_) {
    case ResultViewMode::WinnerList:
      setWindowTitle(QStringLiteral("查看中奖名单"));
      BuildTextView(WinnerListText(Lines()) + NotaryLines());
      break;
    case ResultViewMode::NonWinnerList:
      setWindowTitle(QStringLiteral("查看未中奖名单"));
      BuildTextView(NonWinnerListText(current.pool));
      break;
    case ResultViewMode::LatestAward:
      setWindowTitle(QStringLiteral("查看中奖名单"));
      BuildLatestAward();
      break;
    case ResultViewMode::WinnerShow:
      setWindowTitle(QString());
      BuildWinnerShow(titles, clock);
      break;
  }
  // A window manager gets to fit the framed views into the work area; the winner show covers
  // the screen. An area that is not a whole screen is kept as it is.
  if (wholeScreen) setWindowState(mode_ == ResultViewMode::WinnerShow ? Qt::WindowFullScreen : Qt::WindowMaximized);
  current_ = nullptr;
}

ResultWindow::~ResultWindow() {
  Shutdown();
}

std::string ResultWindow::NotaryLines() const {
  // The seal and the chain's end close the list, so a photo of the list can be matched with the
  // receipts afterwards.
  const ReceiptSummary receipts = past_ ? SummarizeReceipts(past_->receipts) : current_->receipts;
  if (receipts.seal.empty()) return {};
  return "\r\n" + Gb("公证封印：") + ShortSeal(receipts.seal) + Gb("（完整：") + receipts.seal + Gb("）") + "\r\n" +
         Gb("最后一条公证记录：") + receipts.lastHash + "\r\n";
}

std::vector<ResultLine> ResultWindow::Lines() const {
  if (!past_) return current_->winners;
  return ParseResultLog(ReadTextFile(past_->resultDat));
}

void ResultWindow::AddExportButton(std::function<void()> run) {
  if (mode_ != ResultViewMode::WinnerList && mode_ != ResultViewMode::LatestAward) return;
  auto* button = new QPushButton(QStringLiteral("导出中奖名单"), this);
  button->setObjectName(QStringLiteral("按钮_导出中奖名单"));
  button->setCursor(Qt::PointingHandCursor);
  button->setStyleSheet(QStringLiteral(
      "QPushButton { font-family: '微软雅黑'; font-size: 11pt; color: #FFE08A; border: 1px solid #F2B632;"
      " border-radius: 4px; padding: 3px 12px; background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
      " stop:0 #E0303E, stop:0.5 #C8102E, stop:1 #8E0A16); }"
      "QPushButton:hover { background: #E0303E; } QPushButton:pressed { background: #8E0A16; }"));
  button->adjustSize();
  exportButton_ = button;
  PlaceExportButton();
  connect(button, &QPushButton::clicked, this, [run = std::move(run)] { run(); });
  button->raise();
  button->show();
}

void ResultWindow::PlaceExportButton() {
  // In the top-right corner, over the frame of the text box, clear of the text and the scroll bar.
  if (exportButton_) exportButton_->move(width() - exportButton_->width() - 34, 2);
}

void ResultWindow::BuildTextView(const std::string& gbText) {
  background_ = LoadResultPicture(ResultPicture::WindowBackground, size());
  // A plain-text box: it stays responsive with a pool of a hundred thousand entries.
  textBox_ = new QPlainTextEdit(this);
  textBox_->setObjectName(QStringLiteral("超级编辑框1"));
  textBox_->setReadOnly(true);
  textBox_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  textBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  textBox_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  textBox_->setFont(Font("黑体", 22, false));
  QPalette palette = textBox_->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, QColor(255, 0, 0));
    palette.setColor(group, QPalette::Text, kYellow);
  }
  textBox_->setPalette(palette);
  textBox_->setPlainText(ToQtLines(gbText));
  textBox_->moveCursor(QTextCursor::Start);
  textBox_->setGeometry(30, 30, width() - 60, height() - 60);
}

void ResultWindow::BuildLatestAward() {
  std::vector<ResultLine> lines = Lines();
  std::optional<ResultLine> last;
  if (!lines.empty()) last = std::move(lines.back());
  latestPanel_ = new LatestAwardPanel(std::move(last), this);
  latestPanel_->setObjectName(QStringLiteral("画板1"));
  latestPanel_->setGeometry(rect());
}

void ResultWindow::BuildWinnerShow(const StageTitles& titles, const Clock& clock) {
  const int w = width();
  const int h = height();
  background_ = LoadResultPicture(ResultPicture::WinnerShow, size());

  auto* band = new PictureStrip(background_, 0, this);
  band->setObjectName(QStringLiteral("画板2"));
  band->setGeometry(0, 0, w, kBand);
  auto* area = new PictureStrip(background_, kBand, this);
  area->setObjectName(QStringLiteral("画板3"));
  area->setGeometry(0, kBand, w, h - kBand);

  // A past draw's show is dated the day it was drawn.
  std::optional<LocalDateTime> drawn;
  if (past_ && !past_->current) drawn = ParseHistoryStamp(QString::fromStdString(past_->folder.filename().string()));
  // The band holds three lines at most; a title of thousands of characters would only be laid out
  // and wrapped at every paint.
  QString caption = ToQtLines(WinnerShowTitle(titles.mainTitle, titles.subTitle, drawn.value_or(clock.Now())));
  if (caption.size() > kMaxTitleLength) caption = caption.left(kMaxTitleLength - 1) + QChar(0x2026);
  auto* title = new TitleLabel(caption, band);
  title->setObjectName(QStringLiteral("透明标签_标题"));
  title->setFont(Font("宋体", 20, false));
  title->setGeometry(0, 35, w, kBand);

  auto* back = new CommandLabel(QStringLiteral("返回"), QSize(60, 30), band);
  back->setObjectName(QStringLiteral("透明标签_返回"));
  back->move(w - back->width() - 10, 15);
  connect(back, &CommandLabel::activated, this, [this] {
    timer_.stop();
    music_.Stop();
    close();
  });
  auto* stopMusic = new CommandLabel(QStringLiteral("停止音乐"), QSize(80, 30), band);
  stopMusic->setObjectName(QStringLiteral("透明标签_停止音乐"));
  stopMusic->move(back->x() - stopMusic->width() - 10, 15);
  connect(stopMusic, &CommandLabel::activated, this, [this] { music_.Stop(); });

  const std::vector<ResultLine> lines = Lines();
  if (lines.empty()) return;

  // Composed and measured once; the ticks only move the finished list.
  const QFont font = Font("宋体", 24, false);
  const QFontMetrics metrics(font, this);
  QStringList rows;
  int widest = 0;
  for (const auto& row : WinnerShowRows(lines)) {
    rows << ToQt(row);
    widest = std::max(widest, metrics.horizontalAdvance(rows.back()));
  }
  const int pitch = metrics.height() + 5;
  // Two pixels either side leave room for the text's shadow; the text stays centred.
  list_ = new WinnerShowList(rows, font, widest + 4, pitch, area);
  list_->setObjectName(QStringLiteral("透明标签2"));
  scroll_.emplace(h, list_->height());
  list_->move((area->width() - widest) / 2 - 2, scroll_->top());
  timer_.start(WinnerShowScroll::kTickMilliseconds);
}

void ResultWindow::ScrollTick() {
  if (!scroll_ || !list_) return;
  scroll_->Tick();
  list_->move(list_->x(), scroll_->top());
}

void ResultWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F9) {
    music_.Toggle();
    event->accept();
    return;
  }
  // The lists and the latest award close with Escape like any dialog (there may be no title bar to click on a
  // projector); the winner show closes only through "返回", so a stray key never ends the presentation.
  if (event->key() == Qt::Key_Escape && mode_ != ResultViewMode::WinnerShow) {
    close();
    event->accept();
    return;
  }
  event->ignore();
}

void ResultWindow::paintEvent(QPaintEvent*) {
  if (mode_ == ResultViewMode::WinnerList || mode_ == ResultViewMode::NonWinnerList) {
    QPainter p(this);
    p.drawPixmap(rect(), background_);
  }
}

void ResultWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  // The framed views follow the area the window manager gives them.
  if (textBox_) {
    if (background_.size() != size()) background_ = LoadResultPicture(ResultPicture::WindowBackground, size());
    textBox_->setGeometry(30, 30, width() - 60, height() - 60);
  }
  if (latestPanel_) latestPanel_->setGeometry(rect());
  PlaceExportButton();
}

void ResultWindow::done(int result) {
  Shutdown();
  QDialog::done(result);
}

void ResultWindow::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  timer_.stop();
  music_.Stop();
}

}  // namespace kavrel
