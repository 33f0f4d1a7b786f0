#include "screen/CharacterSetPalette.h"

#include <QGridLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

constexpr int kColumns = 16;
constexpr int kBlankReplacement = 254;

} // namespace

CharacterSetPalette::CharacterSetPalette(QWidget* parent, std::uint16_t modelId)
    : QWidget(parent, Qt::Tool | Qt::WindowDoesNotAcceptFocus) {
    setWindowTitle(tr("Quillon : Character Set"));
    setObjectName("CHAR_SET");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->addWidget(block(33, 159, true));
    secondBlock_ = block(161, 253, false);
    layout->addWidget(secondBlock_);
    secondBlock_->setVisible(modelId < kFirstWideModel);
}

QWidget* CharacterSetPalette::block(int first, int last, bool withBlank) {
    auto* widget = new QWidget(this);
    auto* grid = new QGridLayout(widget);
    grid->setSpacing(1);
    grid->setContentsMargins(0, 0, 0, 0);
    int index = 0;
    const auto add = [&](int code, int shown) {
        auto* button = new QToolButton(widget);
        button->setObjectName(QString("char%1").arg(code));
        button->setFocusPolicy(Qt::NoFocus);
        const QString label = QString(QChar(shown));
        button->setText(label == "&" ? QStringLiteral("&&") : label);
        button->setFixedSize(22, 22);
        connect(button, &QToolButton::clicked, this,
                [this, code] { emit characterChosen(static_cast<char>(code)); });
        grid->addWidget(button, index / kColumns, index % kColumns);
        ++index;
    };
    if (withBlank) {
        add(kBlankReplacement, kBlankReplacement);
    }
    for (int code = first; code <= last; ++code) {
        add(code, code);
    }
    return widget;
}

QWidget* CharacterSetPalette::buttonFor(int code) const {
    return findChild<QWidget*>(QString("char%1").arg(code));
}

} // namespace quillon::gui
