#include "tools/init/chart_wording.h"

#include <cstddef>

namespace vitalchart {
namespace cli {

namespace {

struct Words {
    Word word;
    const char* pszChinese;
    const char* pszEnglish;
};

// In the order of Word, each in both languages.
constexpr Words kWords[] = {
    {Word::kFace, "宋体", "Arial"},
    {Word::kTitle, "体 温 单", "TEMPERATURE CHART"},
    {Word::kNameCaption, "姓名：", "Name:"},
    {Word::kSexCaption, "性别：", "Sex:"},
    {Word::kAgeCaption, "年龄：", "Age:"},
    {Word::kDepartmentCaption, "科别：", "Ward:"},
    {Word::kBedCaption, "床号：", "Bed:"},
    {Word::kAdmittedCaption, "入院日期：", "Admitted:"},
    {Word::kRecordCaption, "住院号：", "Record:"},
    {Word::kHospital, "医院", "Hospital"},
    {Word::kName, "姓名", "Name"},
    {Word::kSex, "性别", "Sex"},
    {Word::kAge, "年龄", "Age"},
    {Word::kDepartment, "科别", "Ward"},
    {Word::kBed, "床号", "Bed"},
    {Word::kAdmitted, "入院日期", "Admitted"},
    {Word::kRecord, "住院号", "Record"},
    {Word::kDateCaption, "日期", "Date"},
    {Word::kStayCaption, "住院天数", "Day in ward"},
    {Word::kAfterSurgeryCaption, "术后天数", "Day post-op"},
    {Word::kTimeCaption, "时间", "Time"},
    {Word::kDate, "日期", "Date"},
    {Word::kStay, "住院天数", "Day in ward"},
    {Word::kAfterSurgery, "术后天数", "Day post-op"},
    {Word::kPulseHeading, "脉搏", "Pulse"},
    {Word::kPulseUnit, "(次/分)", "(/min)"},
    {Word::kTemperatureHeading, "体温", "Temp."},
    {Word::kTemperatureUnit, "(℃)", "(°C)"},
    {Word::kTemperature, "体温", "Temperature"},
    {Word::kCooling, "物理降温", "Cooled"},
    {Word::kPulse, "脉搏", "Pulse"},
    {Word::kHeartRate, "心率", "Heart rate"},
    {Word::kEvents, "事件", "Events"},
    {Word::kBelowScale, "不升", "LOW"},
    {Word::kRespirationCaption, "呼吸(次/分)", "Resp. (/min)"},
    {Word::kBloodPressureCaption, "血压(mmHg)", "BP (mmHg)"},
    {Word::kIntakeCaption, "入量(ml)", "Intake (ml)"},
    {Word::kOutputCaption, "出量(ml)", "Output (ml)"},
    {Word::kStoolsCaption, "大便次数", "Stools"},
    {Word::kUrineCaption, "尿量(ml)", "Urine (ml)"},
    {Word::kWeightCaption, "体重(kg)", "Weight (kg)"},
    {Word::kHeightCaption, "身高(cm)", "Height (cm)"},
    {Word::kSkinTestCaption, "皮试", "Skin test"},
    {Word::kPainCaption, "疼痛", "Pain"},
    {Word::kPainCaptionSecond, "评分", "score"},
    {Word::kRespiration, "呼吸", "Respiration"},
    {Word::kBloodPressure, "血压", "Blood pressure"},
    {Word::kIntake, "入量", "Intake"},
    {Word::kOutput, "出量", "Output"},
    {Word::kStools, "大便次数", "Stools"},
    {Word::kUrine, "尿量", "Urine"},
    {Word::kWeight, "体重", "Weight"},
    {Word::kHeight, "身高", "Height"},
    {Word::kSkinNegative, "皮试阴性", "Skin test negative"},
    {Word::kPain, "疼痛", "Pain"},
    {Word::kSkinPositive, "皮试阳性", "Skin test positive"},
    {Word::kPageCaption, "第        页", "Page"},
    {Word::kPage, "页码", "Page"},
    {Word::kSampleHospital, "示例医院", "Example Hospital"},
    {Word::kSampleName, "王芳", "Jane Doe"},
    {Word::kSampleSex, "女", "F"},
    {Word::kSampleAge, "52岁", "52"},
    {Word::kSampleDepartment, "普外科", "Surgery"},
    {Word::kAdmission, "入院", "Admitted"},
    {Word::kSurgery, "手术", "Operation"},
    {Word::kOut, "外出", "Out"},
    {Word::kSampleSkinNegative, "青霉素(－)", "Penicillin (-)"},
    {Word::kSampleSkinPositive, "头孢(＋)", "Cefazolin (+)"},
    {Word::kBedridden, "卧床", "in bed"},
};
constexpr bool InOrder() {
    for (std::size_t i = 0; i < sizeof kWords / sizeof kWords[0]; ++i) {
        if (static_cast<std::size_t>(kWords[i].word) != i) return false;
    }
    return sizeof kWords / sizeof kWords[0] == static_cast<std::size_t>(Word::kCount);
}
static_assert(InOrder(), "every word once, in the order of Word");

}  // namespace

const char* WordOf(ChartLanguage language, Word word) {
    const Words& words = kWords[static_cast<int>(word)];
    return language == ChartLanguage::kChinese ? words.pszChinese : words.pszEnglish;
}

Word RowCaption(ChartRow row) {
    return static_cast<Word>(static_cast<int>(Word::kRespirationCaption) + static_cast<int>(row));
}

Word RowReadings(ChartRow row) {
    return static_cast<Word>(static_cast<int>(Word::kRespiration) + static_cast<int>(row));
}

}  // namespace cli
}  // namespace vitalchart
