#include "SampleTextChoice.h"

#include "EditingSession.h"

#include <QSettings>

namespace {

const QString SetKey = QStringLiteral("SampleTexts/set");
const QString CustomKey = QStringLiteral("SampleTexts/custom");

constexpr std::array<SampleTextSet, 4> Sets = {SampleTextSet::Shipped, SampleTextSet::Long, SampleTextSet::Short,
                                               SampleTextSet::Custom};

// Exactly ten texts: what is missing is empty, what is more is dropped.
QStringList Ten(QStringList texts)
{
    while (texts.size() < SampleTextCount)
        texts << QString();
    return texts.mid(0, SampleTextCount);
}

// The preview prints 8-bit texts read as Latin-1.
QStringList FromLines(const TextLines& lines)
{
    QStringList texts;
    for (const std::string& line : lines)
        texts << QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    return Ten(texts);
}

TextLines ToLines(const QStringList& texts)
{
    TextLines lines;
    for (const QString& text : texts)
        lines.push_back(text.toLatin1().toStdString());
    return lines;
}

} // namespace

SampleTextChoice::SampleTextChoice(EditingSession& session, QObject* parent) : QObject(parent), session_(session)
{
    setObjectName(QStringLiteral("SampleTextChoice"));
    if (settings_.contains(CustomKey))
        custom_ = Ten(settings_.value(CustomKey).toStringList());
    const QString stored = settings_.value(SetKey).toString();
    for (const SampleTextSet set : Sets)
        if (stored == QLatin1String(SampleTextSetName(set)) && (set != SampleTextSet::Custom || !custom_.isEmpty()))
            set_ = set;
    Apply();
}

QStringList SampleTextChoice::TextsOf(SampleTextSet set) const
{
    switch (set) {
    case SampleTextSet::Shipped: return FromLines(session_.Document().LangLines);
    case SampleTextSet::Long: return FromLines(LongSampleTexts());
    case SampleTextSet::Short: return FromLines(ShortSampleTexts());
    case SampleTextSet::Custom: return custom_;
    }
    return {};
}

QStringList SampleTextChoice::Texts() const
{
    return TextsOf(set_);
}

void SampleTextChoice::Choose(SampleTextSet set)
{
    if (set == SampleTextSet::Custom && custom_.isEmpty())
        custom_ = Texts(); // the first Custom starts from what is shown
    set_ = set;
    settings_.setValue(SetKey, QString::fromLatin1(SampleTextSetName(set_)));
    if (set_ == SampleTextSet::Custom)
        settings_.setValue(CustomKey, custom_);
    Apply();
}

void SampleTextChoice::SetText(int index, const QString& text)
{
    if (index < 0 || index >= SampleTextCount)
        return;
    if (set_ != SampleTextSet::Custom)
        custom_ = Texts();
    custom_[index] = text;
    Choose(SampleTextSet::Custom);
}

void SampleTextChoice::Apply()
{
    // The views of the choice first: the session takes the texts even when drawing
    // them fails, and says so by throwing.
    emit Changed();
    // Shipped follows the asset itself, so it holds even before the asset is read.
    session_.SetSampleTexts(set_ == SampleTextSet::Shipped ? std::nullopt : std::optional<TextLines>(ToLines(Texts())));
}
