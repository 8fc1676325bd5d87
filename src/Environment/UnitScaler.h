// Factors from metric units to the user's working units, read from the host's preferences.
#pragma once

namespace zelvane {

class UnitScaler {
public:
    enum Length { metre = 0, centimetre = 1, millimetre = 2, foot = 3, inch = 4 };
    enum Area { squareMetre = 0, squareCentimetre = 1, squareMillimetre = 2, squareFoot = 3, squareInch = 4 };
    enum Volume {
        cubicMetre = 0,
        cubicCentimetre = 1,
        cubicMillimetre = 2,
        cubicYard = 3,
        cubicFoot = 4,
        cubicInch = 5,
        gallon = 6
    };

    // Reads the length, area and volume units; a unit the host does not answer stays metric
    // (factor 1).
    UnitScaler();

    // Multiply metres, square metres or cubic metres by these to get the working unit.
    double getLengthFactor() const { return m_lengthFactor; }
    double getAreaFactor() const { return m_areaFactor; }
    double getVolumeFactor() const { return m_volumeFactor; }
    Length getLengthUnit() const { return static_cast<Length>(m_lengthUnit); }
    Area getAreaUnit() const { return static_cast<Area>(m_areaUnit); }
    Volume getVolumeUnit() const { return static_cast<Volume>(m_volumeUnit); }

private:
    double m_lengthFactor = 1.0;
    double m_areaFactor = 1.0;
    double m_volumeFactor = 1.0;
    int m_lengthUnit = metre;
    int m_areaUnit = squareMetre;
    int m_volumeUnit = cubicMetre;
};

} // namespace zelvane
