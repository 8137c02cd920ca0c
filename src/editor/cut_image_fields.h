#pragma once

// The fields of the cut-out editor, shared by the source files that implement CutImage.
// Views are held by their superviews; a field keeps a handle so the editor can reach them.

#include <memory>

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include "editor/crop.h"
#include "imaging/color_image.h"
#include "ui/button.h"
#include "ui/image_view.h"
#include "ui/scroll_view.h"
#include "ui/slider.h"
#include "ui/switch.h"
#include "widgets/screen_views.h"

namespace vimora {

/// Touch modes of the editor.
inline const QString kModeRectangle = QStringLiteral("rectangleW");
inline const QString kModeNoTouch = QStringLiteral("no touch now");

/// Width of a tap stamp in points (the pen-size slider's starting value).
inline constexpr double kStampWidth = 10;

struct CutImageFields
{
    std::shared_ptr<ScreenViews> views;
    /// The controller's own view; lives inside the editor layer (cutImgView).
    ui::ViewPtr view;

    // Editing job and photo view.
    QStringList albumDrawAry;
    QStringList styleAry;
    QStringList tileAry;
    QStringList albumDrawMuAry;
    int fViewTag = 0;
    std::shared_ptr<ui::ImageView> fView2;
    QString penHeadName;
    QPointF lastPoint;
    QPointF currentPoints;
    bool mouseSwiped = false;
    int mouseMoved = 0;
    int ifErase = 0;
    QPointF descripPoint;
    double sizeCutSlider = kStampWidth;

    // Crop rectangle and cut.
    std::shared_ptr<ui::ImageView> backImageM;
    CropCorners corners;
    std::shared_ptr<ui::ImageView> moveImgViewLU, moveImgViewRU, moveImgViewLD, moveImgViewRD;
    double firstX = 0, firstY = 0;
    std::shared_ptr<ui::Button> doneBtn;
    std::shared_ptr<ui::ImageView> shadView;
    QRectF oRectLa;
    QSizeF originViewSize;
    QSizeF viewSize;
    QString effectOn;

    // Placement gestures.
    double lastScale = 1.0;
    int viewTag = 0;
    QString removeImgNam;
    /// The layer colours are picked from: the editor's stamp layer, or the preview's photo
    /// layer while the options panel is built.
    std::shared_ptr<ui::ImageView> drawImages;
    /// The layer tap stamps are drawn on; always the editor's own, so a stamp never redraws
    /// the preview's photo at the editor's size.
    std::shared_ptr<ui::ImageView> stampLayer;
    ColorImage colorImage;

    // Options panel.
    int topOrButtom = 0;
    QString didBein;
    QPointF sPoint;
    std::shared_ptr<ui::Switch> onoff2;
    std::shared_ptr<ui::Slider> dSlider;
    std::shared_ptr<ui::Button> edgeBtn, editBtn, closeSizeBtn;
    /// The last crop of Origin to the preview's aspect (1280 x 720 or 1280 x 960).
    Picture aspectCrop;

    // Capture.
    double mWid = 0, mHei = 0;

    // Panels and chrome.
    std::shared_ptr<ui::ScrollView> workScroll;
    /// The adjust panel's drag handle (tablet); made by the adjust panel.
    ui::ViewPtr moveImgView;
    std::shared_ptr<ui::ImageView> hintView;
    std::shared_ptr<ui::Button> replaceBtn;
};

} // namespace vimora
