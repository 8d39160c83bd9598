-- The editors' demo: a custom code that turns the "All Off" button red, a
-- light box with two levels, and stored e-mails. Names, macros and buttons
-- come from 10-desktop.sql.
BEGIN;

INSERT INTO CustomCodes (CustomCodeName, CustomCode) VALUES ('Demo Panic Button', '1C 01 68 07 00 00 42 F3');
INSERT INTO CustomCodes (CustomCodeName, CustomCode, CustomCodeRS232) VALUES
  ('Demo Doorbell', '1C 20 03 62 00 00 FF 60', X'1C2003620000FF60');

INSERT INTO ButtonMultiState (ButtonIndex, Area, Preset, CustomCode_ID, ButtonLabel, Macro_ID, Colour)
  SELECT 4, NULL, NULL, CustomCodes.CustomCode_ID, 'PANIC', Macros.Macro_ID, 255
  FROM Macros, CustomCodes WHERE Macros.Macro = 'All Off' AND CustomCodes.CustomCodeName = 'Demo Panic Button';

INSERT INTO CorvalinLightBox (CorvalinBoxNumber, Area, Channel, ChannelDesc) VALUES
  (1, 5, 7, 'Stage Red'), (1, 5, 8, 'Stage Green'), (1, 5, 9, 'Stage Blue');
INSERT INTO CorvalinChannelLevels (CorvalinLightBox_ID, ChannelLevel, ChannelLevelDesc)
  SELECT CorvalinLightBox_ID, 255, 'Full' FROM CorvalinLightBox WHERE ChannelDesc = 'Stage Red';
INSERT INTO CorvalinChannelLevels (CorvalinLightBox_ID, ChannelLevel, ChannelLevelDesc)
  SELECT CorvalinLightBox_ID, 64, 'Glow' FROM CorvalinLightBox WHERE ChannelDesc = 'Stage Red';
-- A second box, whose named levels the first box's levels window offers as favourites.
INSERT INTO CorvalinLightBox (CorvalinBoxNumber, Area, Channel, ChannelDesc) VALUES
  (2, 5, 20, 'Gobo wheel'), (2, 5, 21, 'Gobo spin'), (2, 5, 22, 'Gobo focus');
INSERT INTO CorvalinChannelLevels (CorvalinLightBox_ID, ChannelLevel, ChannelLevelDesc)
  SELECT CorvalinLightBox_ID, 32, 'Slow' FROM CorvalinLightBox WHERE ChannelDesc = 'Gobo spin';
INSERT INTO CorvalinChannelLevels (CorvalinLightBox_ID, ChannelLevel, ChannelLevelDesc)
  SELECT CorvalinLightBox_ID, 200, 'Fast' FROM CorvalinLightBox WHERE ChannelDesc = 'Gobo spin';

INSERT INTO Emails (EmailName, Receipients, Subject, Message) VALUES
  ('Demo Alarm', 'facilities@example.org', 'Panic button pressed', 'The panic button was pressed in the main hall.'),
  ('Demo Night Report', 'night.manager@example.org', 'Lights off', 'Every area was turned off for the night.');

COMMIT;
