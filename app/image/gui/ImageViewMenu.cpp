#include "image/gui/ImageViewMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QWidget>

namespace raylen {

namespace {

struct Item {
    const char* name;
    const char* caption;
};

constexpr std::array<Item, menuZooms.size()> zoomItems{{
    {"mnuZoomHalf", "1/2倍(&H)"},
    {"mnuZoomOne", "等倍(&1)"},
    {"mnuZoomTwo", "2倍(&2)"},
    {"mnuZoomFour", "4倍(&4)"},
}};
constexpr std::array<Item, 4> curveItems{{
    {"mnuCurveLinear", "ﾘﾆｱ(&L)"},
    {"mnuCurveSqrt", "平方根(&R)"},
    {"mnuCurveLog", "対数(&G)"},
    {"mnuCurveAsinh", "asinh(&A)"},
}};
constexpr std::array<StretchCurve, 4> curves{StretchCurve::Linear, StretchCurve::SquareRoot,
                                             StretchCurve::Logarithmic, StretchCurve::Asinh};
constexpr std::array<const char*, limitPercents.size()> limitNames{"mnuLimits999", "mnuLimits995", "mnuLimits99",
                                                                    "mnuLimits98", "mnuLimits95"};

} // namespace

ImageViewMenu::ImageViewMenu(QWidget* owner) : QObject(owner)
{
    menu = new QMenu(QString::fromUtf8("表示(&V)"), owner);
    menu->setObjectName("mnuView");
    auto add = [this](QActionGroup* group, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setCheckable(true);
        group->addAction(action);
        return action;
    };
    zooms_ = new QActionGroup(this);
    zooms_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    mnuZoomFit = add(zooms_, "mnuZoomFit", QString::fromUtf8("全体表示(&F)"));
    connect(mnuZoomFit, &QAction::triggered, this, [this] {
        if (onZoom)
            onZoom(true, 1.0);
    });
    for (size_t i = 0; i < menuZooms.size(); ++i) {
        mnuZoom[i] = add(zooms_, zoomItems[i].name, QString::fromUtf8(zoomItems[i].caption));
        const double factor = menuZooms[i];
        connect(mnuZoom[i], &QAction::triggered, this, [this, factor] {
            if (onZoom)
                onZoom(false, factor);
        });
    }
    menu->addSeparator();
    curves_ = new QActionGroup(this);
    for (size_t i = 0; i < curves.size(); ++i) {
        mnuCurve[i] = add(curves_, curveItems[i].name, QString::fromUtf8(curveItems[i].caption));
        connect(mnuCurve[i], &QAction::triggered, this, &ImageViewMenu::stretchPicked);
    }
    menu->addSeparator();
    limits_ = new QActionGroup(this);
    mnuLimitsMain = add(limits_, "mnuLimitsMain", QString::fromUtf8("最大・最小の値(&M)"));
    connect(mnuLimitsMain, &QAction::triggered, this, &ImageViewMenu::stretchPicked);
    for (size_t i = 0; i < limitPercents.size(); ++i) {
        mnuLimits[i] = add(limits_, limitNames[i], QString::number(limitPercents[i]) + " %");
        connect(mnuLimits[i], &QAction::triggered, this, &ImageViewMenu::stretchPicked);
    }
    showChoice(ViewChoice());
}

void ImageViewMenu::stretchPicked()
{
    StretchCurve curve = StretchCurve::Linear;
    for (size_t i = 0; i < curves.size(); ++i)
        if (mnuCurve[i]->isChecked())
            curve = curves[i];
    double percent = mainWindowLimits;
    for (size_t i = 0; i < limitPercents.size(); ++i)
        if (mnuLimits[i]->isChecked())
            percent = limitPercents[i];
    if (onStretch)
        onStretch(curve, percent);
}

void ImageViewMenu::showChoice(const ViewChoice& choice)
{
    mnuZoomFit->setChecked(choice.fit);
    for (size_t i = 0; i < menuZooms.size(); ++i)
        mnuZoom[i]->setChecked(!choice.fit && choice.zoom == menuZooms[i]);
    for (size_t i = 0; i < curves.size(); ++i)
        mnuCurve[i]->setChecked(curves[i] == choice.curve);
    mnuLimitsMain->setChecked(choice.percent == mainWindowLimits);
    for (size_t i = 0; i < limitPercents.size(); ++i)
        mnuLimits[i]->setChecked(choice.percent == limitPercents[i]);
}

} // namespace raylen
