#include "service/picture/greeting_design.h"

#include <array>

namespace {

const QStringList kSans = {"Noto Sans CJK SC", "WenQuanYi Micro Hei", "DejaVu Sans"};
const QStringList kSerif = {"Noto Serif CJK SC", "Noto Sans CJK SC", "WenQuanYi Micro Hei", "DejaVu Serif"};

std::array<GreetingDesign, 4> MakeDesigns()
{
    GreetingDesign rose;
    rose.sentence = QStringLiteral("嫁给我吧");
    rose.families = kSans;
    rose.nameColor = QColor(255, 255, 255);
    rose.sentenceColor = QColor(255, 240, 196);
    rose.shadowColor = QColor(110, 0, 40, 120);
    rose.shadowOffset = QPointF(3, 3);
    rose.textBox = QRectF(232, 20, 500, 248);
    rose.paintBackdrop = PaintRoseBackdrop;

    GreetingDesign wedding;
    wedding.sentence = QStringLiteral("来娶我吧");
    wedding.families = kSerif;
    wedding.nameColor = QColor(255, 222, 130);
    wedding.sentenceColor = QColor(255, 244, 214);
    wedding.shadowColor = QColor(70, 0, 0, 150);
    wedding.shadowOffset = QPointF(2, 3);
    wedding.textBox = QRectF(44, 30, 520, 228);
    wedding.paintBackdrop = PaintRedWeddingBackdrop;

    GreetingDesign night;
    night.sentence = QStringLiteral("我爱你");
    night.families = kSans;
    night.nameColor = QColor(255, 255, 255);
    night.sentenceColor = QColor(255, 179, 198);
    night.shadowColor = QColor(8, 4, 30, 170);
    night.shadowOffset = QPointF(2, 3);
    night.textBox = QRectF(36, 24, 474, 240);
    night.paintBackdrop = PaintStarryNightBackdrop;

    GreetingDesign pastel;
    pastel.sentence = QStringLiteral("我喜欢你");
    pastel.families = kSans;
    pastel.nameColor = QColor(214, 51, 108);
    pastel.sentenceColor = QColor(61, 90, 128);
    pastel.shadowColor = QColor(255, 255, 255, 220);
    pastel.shadowOffset = QPointF(2, 2);
    pastel.textBox = QRectF(150, 26, 452, 236);
    pastel.paintBackdrop = PaintPastelBalloonsBackdrop;

    return {rose, wedding, night, pastel};
}

}  // namespace

const GreetingDesign& DesignFor(int templateId)
{
    static const std::array<GreetingDesign, 4> designs = MakeDesigns();
    const int index = templateId >= 1 && templateId <= 4 ? templateId - 1 : 0;
    return designs[static_cast<std::size_t>(index)];
}
