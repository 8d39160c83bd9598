-- Control and device windows: sensors 7 and 9 (both simulated), three named
-- channels in area 5, two device types and two roll calls over the simulated
-- devices; the roof and stair sensors (boxes 11, 13) are not simulated, so
-- they never answer.
UPDATE Config SET enablesensorlog = 1, UserCanSaveLightingPresets = 1, UserCanSeekchannels = 1;
UPDATE SensorInterval SET SensorInterval = 10;
INSERT INTO Sensors (SensorBoxNum, SensorDesc, Calibration, LogthisSensor) VALUES
  (7, 'Atrium', 1, 1),
  (9, 'Car park', 1, 1);
INSERT INTO AreaChannels (Area, Channel, Channelname) VALUES
  (5, 1, 'Downlights'),
  (5, 2, 'Wall washers'),
  (5, 3, 'Desk lamps');
INSERT INTO DeviceTypes (Device_ID, Device, DeviceOpCode) VALUES (1, 'Sensor box', 'A5'), (2, 'Dimmer', '20');
INSERT INTO DevicesInstalled (BoxNumber, Description, Device_ID) VALUES
  (7, 'Atrium sensor', 1),
  (9, 'Car park sensor', 1),
  (11, 'Roof sensor', 1),
  (12, 'Plant room dimmer', 2),
  (13, 'Stair sensor', 1);
INSERT INTO RollCall (RollCallName, Device_ID, Boxnumber) VALUES
  ('Morning check', 1, 7),
  ('Morning check', 1, 9),
  ('Evening check', 1, 7),
  ('Evening check', 1, 9),
  ('Evening check', 2, 12),
  ('Evening check', 1, 11),
  ('Evening check', 1, 13);
-- Energy: two lamp types measured at 0 % and 100 % (with their tables of
-- interpolated loads), lamps on the three channels of area 5, and recording
-- on, so the levels heard reach the monitor log that the report reads.
UPDATE Config SET enableenergyusage = 1;
INSERT INTO LampFittings (LampFitting_ID, LampDescription, RatedWattage, Losses) VALUES
  (1, 'LED downlight 12W', 12, 1),
  (2, 'Wall washer 35W', 35, 3);
INSERT INTO LampProperties (LampFitting_ID, PowerPercentage, Load) VALUES
  (1, 0, 0), (1, 100, 13),
  (2, 0, 0), (2, 100, 38);
WITH RECURSIVE p(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM p WHERE n < 100)
INSERT INTO LampInterpolations (LampFitting_ID, InterpolatedPercentage, InterpolatedLevel)
  SELECT 1, n, n * 13.0 / 100 FROM p UNION ALL SELECT 2, n, n * 38.0 / 100 FROM p;
INSERT INTO LampFittingsonChannel (Area, Channel, LampFitting_ID, Number) VALUES
  (5, 1, 1, 6),
  (5, 2, 2, 4),
  (5, 3, 1, 3);
