-- Control and device windows: sensors 7 and 9 (both simulated), three named
-- channels in area 5, a device type and a roll call over the simulated devices.
UPDATE Config SET enablesensorlog = 1;
UPDATE SensorInterval SET SensorInterval = 60;
INSERT INTO Sensors (SensorBoxNum, SensorDesc, Calibration, LogthisSensor) VALUES
  (7, 'Atrium', 1, 1),
  (9, 'Car park', 1, 1);
INSERT INTO AreaChannels (Area, Channel, Channelname) VALUES
  (5, 1, 'Downlights'),
  (5, 2, 'Wall washers'),
  (5, 3, 'Desk lamps');
INSERT INTO DeviceTypes (Device_ID, Device, DeviceOpCode) VALUES (1, 'Sensor box', 'A5');
INSERT INTO DevicesInstalled (BoxNumber, Description, Device_ID) VALUES
  (7, 'Atrium sensor', 1),
  (9, 'Car park sensor', 1);
INSERT INTO RollCall (RollCallName, Device_ID, Boxnumber) VALUES
  ('Morning check', 1, 7),
  ('Morning check', 1, 9);
