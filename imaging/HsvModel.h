#pragma once
// HSV colour model with every quantity a double in 0..255, converted in place: three variables
// hold red, green, blue on one side and hue, saturation, value on the other.

void RgbToHsv(double& redHue, double& greenSaturation, double& blueValue);
void HsvToRgb(double& hueRed, double& saturationGreen, double& valueBlue);
