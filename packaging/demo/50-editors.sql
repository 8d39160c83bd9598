-- Names, buttons with their rules, a custom code, a light box and stored
-- e-mails for the demo. The macros the buttons start are made here too.
BEGIN;

INSERT INTO AreaNames (Area, AreaName) VALUES
  (1, 'Foyer'), (2, 'Boardroom'), (3, 'O''Brien''s Office'), (4, 'Reception'),
  (5, 'Main Hall'), (6, 'Kitchen'), (7, 'Library'), (8, 'Car Park');

INSERT INTO PresetNames (Area, Preset, PresetName)
  SELECT AreaNames.Area, p.Preset, p.PresetName FROM AreaNames,
    (SELECT 1 AS Preset, 'On Full' AS PresetName UNION ALL SELECT 2, 'Meeting'
     UNION ALL SELECT 3, 'Evening' UNION ALL SELECT 4, 'Off') AS p
  WHERE AreaNames.Area BETWEEN 1 AND 8;

INSERT INTO Macros (Macro, Enabled, Description, MacroFolder_ID, SortOrder) VALUES
  ('Demo Foyer On', 1, 'Foyer to full', 0, 1),
  ('Demo Foyer Off', 1, 'Foyer off', 0, 2),
  ('Demo Boardroom Meeting', 1, 'Boardroom for a meeting', 0, 3),
  ('Demo Boardroom Off', 1, 'Boardroom off', 0, 4),
  ('Demo Office Evening', 1, 'O''Brien''s Office for the evening', 0, 5),
  ('Demo Reception On', 1, 'Reception on', 0, 6),
  ('Demo Hall Show', 1, 'Main hall show', 0, 7),
  ('Demo All Off', 1, 'Every area off', 0, 8);

INSERT INTO CustomCodes (CustomCodeName, CustomCode) VALUES ('Demo Panic Button', '1C 01 68 07 00 00 42 F3');

INSERT INTO Buttons (ButtonIndex, Invisible, Buttonlabel, Macro_ID)
  SELECT b.ButtonIndex, 0, b.Label, Macros.Macro_ID FROM Macros JOIN
    (SELECT 1 AS ButtonIndex, 'Foyer On' AS Label, 'Demo Foyer On' AS Macro
     UNION ALL SELECT 2, 'Boardroom', 'Demo Boardroom Meeting'
     UNION ALL SELECT 3, 'O''Brien''s', 'Demo Office Evening'
     UNION ALL SELECT 4, 'Reception', 'Demo Reception On'
     UNION ALL SELECT 5, 'Hall Show', 'Demo Hall Show'
     UNION ALL SELECT 6, 'Foyer Off', 'Demo Foyer Off'
     UNION ALL SELECT 7, 'Board Off', 'Demo Boardroom Off'
     UNION ALL SELECT 8, 'All Off', 'Demo All Off') AS b ON Macros.Macro = b.Macro;

-- Multi-state: the foyer button turns into "Foyer Off" once the foyer is on
-- full, and back when it is off; the boardroom button follows its meeting
-- preset; the panic code turns button 8 red.
INSERT INTO ButtonMultiState (ButtonIndex, Area, Preset, CustomCode_ID, ButtonLabel, Macro_ID, Colour)
  SELECT 1, 1, 1, NULL, 'Foyer Off', Macro_ID, 65280 FROM Macros WHERE Macro = 'Demo Foyer Off';
INSERT INTO ButtonMultiState (ButtonIndex, Area, Preset, CustomCode_ID, ButtonLabel, Macro_ID, Colour)
  SELECT 1, 1, 4, NULL, 'Foyer On', Macro_ID, 12632256 FROM Macros WHERE Macro = 'Demo Foyer On';
INSERT INTO ButtonMultiState (ButtonIndex, Area, Preset, CustomCode_ID, ButtonLabel, Macro_ID, Colour)
  SELECT 2, 2, 2, NULL, 'End Meeting', Macro_ID, 65535 FROM Macros WHERE Macro = 'Demo Boardroom Off';
INSERT INTO ButtonMultiState (ButtonIndex, Area, Preset, CustomCode_ID, ButtonLabel, Macro_ID, Colour)
  SELECT 8, NULL, NULL, CustomCodes.CustomCode_ID, 'PANIC', Macros.Macro_ID, 255
  FROM Macros, CustomCodes WHERE Macros.Macro = 'Demo All Off' AND CustomCodes.CustomCodeName = 'Demo Panic Button';

INSERT INTO CorvalinLightBox (CorvalinBoxNumber, Area, Channel, ChannelDesc) VALUES
  (1, 5, 7, 'Stage Red'), (1, 5, 8, 'Stage Green'), (1, 5, 9, 'Stage Blue');
INSERT INTO CorvalinChannelLevels (CorvalinLightBox_ID, ChannelLevel, ChannelLevelDesc)
  SELECT CorvalinLightBox_ID, 255, 'Full' FROM CorvalinLightBox WHERE ChannelDesc = 'Stage Red';
INSERT INTO CorvalinChannelLevels (CorvalinLightBox_ID, ChannelLevel, ChannelLevelDesc)
  SELECT CorvalinLightBox_ID, 64, 'Glow' FROM CorvalinLightBox WHERE ChannelDesc = 'Stage Red';

INSERT INTO Emails (EmailName, Receipients, Subject, Message) VALUES
  ('Demo Alarm', 'facilities@example.org', 'Panic button pressed', 'The panic button was pressed in the main hall.'),
  ('Demo Night Report', 'night.manager@example.org', 'Lights off', 'Every area was turned off for the night.');

COMMIT;
