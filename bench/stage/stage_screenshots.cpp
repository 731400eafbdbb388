// Renders the stage elements offscreen at the three screen sizes we support, in the ready state, with 1,
// 3, 10, 25 and 50 names (and 25 long entries: 工号 姓名 部门), with the operator's controls on the stage
// and, as with a console up, without them, with photos (15 portraits), and the winners wall; writes PNG
// files to look at and prints the glyph height of the first name measured on the picture.

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QWidget>
#include <cstdio>

#include "stage/custom_background.h"
#include "stage/marquee_label.h"
#include "stage/picture_button.h"
#include "stage/prize_picture_panel.h"
#include "stage/rolling_panel.h"
#include "stage/stage_elements.h"
#include "stage/stage_label.h"
#include "stage/winners_wall.h"

namespace {

using namespace kavrel;

class Backdrop : public QWidget {
 public:
  void paintEvent(QPaintEvent*) override {
    if (picture_.size() != size()) picture_ = DefaultStageBackground(size());
    QPainter(this).drawPixmap(0, 0, picture_);
  }

 private:
  QPixmap picture_;
};

QStringList Names(int n) {
  const QStringList surnames = {QStringLiteral("张"), QStringLiteral("王"),   QStringLiteral("李"),
                                QStringLiteral("赵"), QStringLiteral("刘"),   QStringLiteral("陈"),
                                QStringLiteral("杨"), QStringLiteral("黄"),   QStringLiteral("周"),
                                QStringLiteral("吴"), QStringLiteral("欧阳"), QStringLiteral("诸葛")};
  const QStringList given = {QStringLiteral("伟"), QStringLiteral("芳"), QStringLiteral("娜"), QStringLiteral("敏"),
                             QStringLiteral("静"), QStringLiteral("丽"), QStringLiteral("强"), QStringLiteral("磊"),
                             QStringLiteral("军"), QStringLiteral("洋"), QStringLiteral("勇"), QStringLiteral("艳"),
                             QStringLiteral("杰"), QStringLiteral("娟")};
  QStringList names;
  for (int i = 0; i < n; ++i)
    names << surnames[i % surnames.size()] + given[(i * 5) % given.size()] + given[(i / 2) % given.size()];
  return names;
}

QString MakePhoto(const QString& dir, int i) {
  QImage image(300, 400, QImage::Format_RGB32);
  image.fill(QColor::fromHsv((i * 47) % 360, 60, 230));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor::fromHsv((i * 83) % 360, 150, 110));
  p.drawEllipse(QRect(40, 250, 220, 240));  // shoulders
  p.setBrush(QColor(240, 200, 170));
  p.drawEllipse(QRect(95, 90, 110, 140));  // face
  p.end();
  const QString path = dir + QStringLiteral("/%1.jpg").arg(i);
  image.save(path, "JPG", 90);
  return path;
}

QStringList LongEntries(int n) {
  const QStringList names = Names(n);
  const QStringList departments = {QStringLiteral("市场营销部"), QStringLiteral("研发中心"), QStringLiteral("财务部"),
                                   QStringLiteral("人力资源部")};
  QStringList entries;
  for (int i = 0; i < n; ++i)
    entries << QStringLiteral("%1 %2 %3").arg(10001 + i * 37).arg(names[i], departments[i % departments.size()]);
  return entries;
}

// Height of the ink of the name in `cell`: the rows holding pixels near the rolling yellow.
int InkHeight(const QImage& shot, const QRect& cell) {
  int top = -1, bottom = -1;
  const QRect r = cell.intersected(shot.rect());
  for (int y = r.top(); y <= r.bottom(); ++y) {
    for (int x = r.left(); x <= r.right(); ++x) {
      const QColor c = shot.pixelColor(x, y);
      if (c.red() > 235 && c.green() > 235 && c.blue() < 80) {
        if (top < 0) top = y;
        bottom = y;
        break;
      }
    }
  }
  return top < 0 ? 0 : bottom - top + 1;
}

void RenderWall(const QString& folder, QSize screen) {
  std::vector<WallGroup> groups;
  const char* awards[] = {"特等奖", "一等奖", "二等奖", "三等奖", "四等奖", "阳光普照奖"};
  const int counts[] = {1, 3, 10, 25, 50, 100};
  const QStringList names = Names(189);
  int next = 0;
  for (int a = 0; a < 6; ++a) {
    groups.push_back({QString::fromUtf8(awards[a]), QStringLiteral("奖品"), names.mid(next, counts[a])});
    next += counts[a];
  }
  WinnersWall wall(groups, DefaultStageBackground(screen));
  wall.resize(screen);
  for (int page = 0; page < wall.PageCount(); ++page) {
    const QString file =
        QStringLiteral("%1/wall_%2x%3_page%4.png").arg(folder).arg(screen.width()).arg(screen.height()).arg(page + 1);
    wall.grab().save(file);
    std::printf("%s  names %d px (glyph about %.1f %% of the height)\n", qPrintable(file), wall.Layout().pixelSize,
                100.0 * wall.Layout().pixelSize * kWallInkPerPixel / screen.height());
    wall.NextPage();
  }
}

void Render(const QString& folder, QSize screen, const QString& scene, bool controls = true) {
  Backdrop stage;
  StageElements e = CreateStageElements(&stage);
  for (QWidget* w :
       {static_cast<QWidget*>(e.startButton), static_cast<QWidget*>(e.stopButton), static_cast<QWidget*>(e.status)})
    w->setVisible(controls);
  e.mainTitle->setText(QStringLiteral("2026年度盛典暨颁奖晚会"));
  FitTitleFonts(e, screen.width());
  e.subtitle->setText(QStringLiteral("感恩有你 · 共创辉煌"));
  e.award->setText(QStringLiteral("三等奖"));
  e.drawer->setText(QStringLiteral("抽奖嘉宾：张总经理"));
  e.status->setText(QStringLiteral("准备抽取【三等奖】，本轮抽5名（第1轮/总2轮，已抽0名/共10名)"));
  e.marquee->SetCaption(QStringLiteral("欢迎各位来宾参加2026年度盛典，祝大家新年快乐、万事如意！"));
  const QRect rect(QPoint(0, 0), screen);
  LayoutStageWidgets(e, rect);
  LayoutStageWidgets(e, rect);
  FitPrizeName(e, QStringLiteral("奖品：智能手表一块"), screen.width());

  QImage prize(200, 150, QImage::Format_RGB32);
  prize.fill(Qt::white);
  {
    QPainter p(&prize);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(40, 40, 50));
    p.drawRoundedRect(QRect(70, 25, 60, 100), 18, 18);
    p.setBrush(QColor(90, 180, 240));
    p.drawRoundedRect(QRect(78, 40, 44, 70), 10, 10);
  }
  const QString prizePath = QDir::temp().filePath(QStringLiteral("kavrel_prize.png"));
  prize.save(prizePath);
  stage.resize(screen);
  ShowPrize(e, prizePath, true);

  if (scene != QStringLiteral("ready")) {
    e.centre->hide();
    e.centre->setText(QString());
    e.rolling->SetSnapshot(CaptureStageSnapshot(&stage, e.rolling->geometry()));
    e.rolling->show();
    if (scene.startsWith(QStringLiteral("text")) || scene.startsWith(QStringLiteral("long"))) {
      const int n = scene.mid(4).toInt();
      const QStringList names = scene.startsWith(QStringLiteral("long")) ? LongEntries(n) : Names(n);
      e.rolling->PrepareTextRolling(n, names);
      for (int i = 0; i < n; ++i) e.rolling->PaintCandidate(i + 1, names[i]);
    } else {
      const int n = 15;
      const QStringList names = Names(n);
      e.rolling->PreparePictureRolling(n, false);
      for (int i = 0; i < n; ++i) {
        e.rolling->PaintCandidate(i + 1, names[i],
                                  i == 7 ? QStringLiteral("/missing.jpg") : MakePhoto(QDir::tempPath(), i));
      }
    }
    e.rolling->FinishRoll();
    e.marquee->SetCaption(CongratulationLine(QStringLiteral("三等奖"), e.rolling->Candidates().mid(0, 5)));
  }
  const QString file = QStringLiteral("%1/stage_%2x%3_%4%5.png")
                           .arg(folder)
                           .arg(screen.width())
                           .arg(screen.height())
                           .arg(scene, controls ? QString() : QStringLiteral("_console"));
  const QImage shot = stage.grab().toImage();
  shot.save(file);
  if (scene.startsWith(QStringLiteral("text")) || scene.startsWith(QStringLiteral("long"))) {
    const QStringList shown = e.rolling->Candidates();
    const QRect cell = e.rolling->TextCell(1, shown.value(0)).translated(e.rolling->pos());
    const int ink = InkHeight(shot, cell);
    std::printf("%s  %d names, %d columns, glyph %d px = %.1f %% of the height\n", qPrintable(file),
                static_cast<int>(shown.size()), e.rolling->TextLayout().columns, ink, 100.0 * ink / screen.height());
  } else {
    std::printf("%s\n", qPrintable(file));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  QDir().mkpath(folder);
  for (QSize screen : {QSize(1920, 1080), QSize(1024, 768), QSize(800, 600)}) {
    for (const char* scene : {"ready", "text1", "text3", "text10", "text25", "text50", "long25", "photos"}) {
      Render(folder, screen, QString::fromLatin1(scene));
      Render(folder, screen, QString::fromLatin1(scene), false);
    }
    RenderWall(folder, screen);
  }
  return 0;
}
