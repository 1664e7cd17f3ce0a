#pragma once

#include "tools/init/chart_request.h"

namespace vitalchart {
namespace cli {

// The words of a new chart: the captions of the form, the vital-sign names
// that tie the template's elements to the readings, and the words of the
// sample readings.
enum class Word {
    kFace,  // the face of every font
    kTitle,
    // The patient's header: captions, then the names of the readings that fill it.
    kNameCaption,
    kSexCaption,
    kAgeCaption,
    kDepartmentCaption,
    kBedCaption,
    kAdmittedCaption,
    kRecordCaption,
    kHospital,
    kName,
    kSex,
    kAge,
    kDepartment,
    kBed,
    kAdmitted,
    kRecord,
    // Header rows: captions, then the names of their readings.
    kDateCaption,
    kStayCaption,
    kAfterSurgeryCaption,
    kTimeCaption,
    kDate,
    kStay,
    kAfterSurgery,
    // Scale headings.
    kPulseHeading,
    kPulseUnit,
    kTemperatureHeading,
    kTemperatureUnit,
    // Curves and the band of events.
    kTemperature,
    kCooling,
    kPulse,
    kHeartRate,
    kEvents,
    kBelowScale,  // written for a temperature below the scale
    // Rows: captions, then the names of the readings.
    kRespirationCaption,
    kBloodPressureCaption,
    kIntakeCaption,
    kOutputCaption,
    kStoolsCaption,
    kUrineCaption,
    kWeightCaption,
    kHeightCaption,
    kSkinTestCaption,
    kPainCaption,
    kPainCaptionSecond,  // the pain band's caption, second line
    kRespiration,
    kBloodPressure,
    kIntake,
    kOutput,
    kStools,
    kUrine,
    kWeight,
    kHeight,
    kSkinNegative,
    kPain,
    kSkinPositive,
    // The page number: its caption and its reading's name.
    kPageCaption,
    kPage,
    // Sample readings.
    kSampleHospital,
    kSampleName,
    kSampleSex,
    kSampleAge,
    kSampleDepartment,
    kAdmission,  // the event of the first column
    kSurgery,    // the event of the operation
    kOut,        // why a reading was not taken
    kSampleSkinNegative,
    kSampleSkinPositive,
    kBedridden,  // a weight not taken
    kCount
};

// The word in the language, in UTF-8.
const char* WordOf(ChartLanguage language, Word word);

// A row's caption and the name of its readings (for skin tests, the negative ones).
Word RowCaption(ChartRow row);
Word RowReadings(ChartRow row);

}  // namespace cli
}  // namespace vitalchart
