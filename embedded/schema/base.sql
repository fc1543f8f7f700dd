-- Rows every site starts with: schema version, id counters, the root partition, the template
-- rows (account -1, user -1 "System Default", physician -1), the default policy and line-count
-- configuration, the maintenance settings row and the system suspension types.

INSERT Database_version VALUES (8.10)
INSERT User_identifier VALUES (100)
INSERT Physician_identifier VALUES (1)
INSERT System_partitions VALUES (0, -1, 'Root', 0, '/0/', NULL)
INSERT Account_info (hosp_acct_id, hosp_acct_name, hosp_acct_description, partition_id)
VALUES (-1, '<All New Accounts>', 'Template for new accounts', 0)
INSERT System_user_bindery (user_id, user_name, first_name, last_name, flag3, partition_id, enabled)
VALUES (-1, 'System Default', 'System', 'Default', 0, 0, 0)
INSERT Physician_profile (physician_id, first_name, last_name, last_update, partition_id)
VALUES (-1, 'Default', 'Physician', GETDATE(), 0)
INSERT Physician_membership VALUES (-1, -1, 0, 0)
INSERT Physician_attributes (physician_id, hosp_acct_id) VALUES (-1, -1)
INSERT Physician_attributes_extended (physician_id, hosp_acct_id) VALUES (-1, -1)
INSERT System_user_policies (policy_id, policy_name, last_datetime, last_user)
VALUES (0, 'Default Policy', GETDATE(), -1)
INSERT Linecount_cfg (config_id, config_name) VALUES (0, 'Default')
INSERT Archive_cfg (migrate_max12_date, migrate_leftover_directory) VALUES ('01/01/1997', '')
INSERT Archive_table_purging VALUES (-1, 90, 90, 365, 365, 90, 0, 0, 0, 365, 365, 365, 365, 0, NULL, NULL)
GO

DECLARE @t int
SET @t = 1
WHILE @t <= 20
BEGIN
    INSERT Suspension_types VALUES (-1, @t, 0,
        CASE @t WHEN 1 THEN 'Waiting for Information' WHEN 2 THEN 'Pending Review'
                WHEN 3 THEN 'Quality Assurance' WHEN 4 THEN 'Incomplete Dictation'
                WHEN 5 THEN 'Awaiting Signature' WHEN 6 THEN 'Patient Information Missing'
                WHEN 7 THEN 'Physician Clarification' ELSE 'System Type ' + CONVERT(varchar(3), @t) END)
    SET @t = @t + 1
END
INSERT Pause_types VALUES (-1, 1, 'Break', 0, 1, 1)
INSERT Pause_types VALUES (-1, 2, 'Meeting', 2, 1, 1)
INSERT Pause_types VALUES (-1, 3, 'Training', 2, 1, 0)
GO
