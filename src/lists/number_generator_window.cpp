#include "lists/number_generator_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "lists/list_editor.h"
#include "storage/codec.h"

namespace kavrel {

namespace {

template <typename W>
W* Named(W* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

}  // namespace

NumberGeneratorWindow::NumberGeneratorWindow(ListEditor& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
  setObjectName(QStringLiteral("NumberGeneratorWindow"));
  setWindowTitle(QStringLiteral("生成号码"));
  setModal(true);

  prefix_ = Named(new QLineEdit(this), QStringLiteral("编辑框_前缀"));
  suffix_ = Named(new QLineEdit(this), QStringLiteral("编辑框_后缀"));
  start_ = Named(new QLineEdit(this), QStringLiteral("编辑框_开始"));
  end_ = Named(new QLineEdit(this), QStringLiteral("编辑框_结束"));
  clear_ = Named(new QCheckBox(QStringLiteral("生成前清空已有号码"), this), QStringLiteral("选择框_清空"));
  clear_->setChecked(true);
  exclude4_ = Named(new QCheckBox(QStringLiteral("生成时排除含有4的数字"), this), QStringLiteral("选择框_排除4"));

  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel(QStringLiteral("前缀"), this), 0, 0);
  fields->addWidget(prefix_, 0, 1);
  fields->addWidget(new QLabel(QStringLiteral("后缀"), this), 0, 2);
  fields->addWidget(suffix_, 0, 3);
  fields->addWidget(new QLabel(QStringLiteral("开始"), this), 1, 0);
  fields->addWidget(start_, 1, 1);
  fields->addWidget(new QLabel(QStringLiteral("结束"), this), 1, 2);
  fields->addWidget(end_, 1, 3);

  auto* group = Named(new QGroupBox(this), QStringLiteral("分组框1"));
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(
      Named(new QLabel(QStringLiteral("生成时排除下面的尾数(勾上生效)"), group), QStringLiteral("标签1")));
  auto* digitRow = new QHBoxLayout;
  for (int d = 0; d < 10; ++d) {
    digits_[static_cast<std::size_t>(d)] =
        Named(new QCheckBox(QString::number(d), group), QStringLiteral("选择框_%1").arg(d));
    digitRow->addWidget(digits_[static_cast<std::size_t>(d)]);
  }
  groupLayout->addLayout(digitRow);

  auto* generate = Named(new QPushButton(QStringLiteral("生成"), this), QStringLiteral("按钮_生成"));
  generate->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(generate);

  auto* main = new QVBoxLayout(this);
  main->addLayout(fields);
  main->addWidget(clear_);
  main->addWidget(exclude4_);
  main->addWidget(group);
  main->addStretch();
  main->addLayout(buttons);
  resize(500, 400);
  connect(generate, &QPushButton::clicked, this, &NumberGeneratorWindow::GeneratePressed);
}

GeneratorInput NumberGeneratorWindow::Input() const {
  GeneratorInput input;
  input.prefix = FromQt(prefix_->text());
  input.suffix = FromQt(suffix_->text());
  input.start = FromQt(start_->text().trimmed());
  input.end = FromQt(end_->text().trimmed());
  input.clearFirst = clear_->isChecked();
  input.exclude4 = exclude4_->isChecked();
  for (std::size_t d = 0; d < 10; ++d) input.excludedLastDigits[d] = digits_[d]->isChecked();
  return input;
}

void NumberGeneratorWindow::GeneratePressed() {
  if (editor_.Generate(Input())) accept();
}

}  // namespace kavrel
